#pragma once
// The results list's selection and its summary in the status bar, with the byte sums kept in step with
// the list change by change, so that selecting or deleting many rows does not sum the whole list again.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/locale_formats.h"
#include "run/automatic_guard.h"
#include "run/deletion.h"
#include "run/result_sums.h"
#include "widgets/cool_list_view_win.h"

namespace kelvaro {

// The results list as the deletion loop and the sums see it.
class ResultRows : public DeletionRows {
public:
    using Remover = std::function<void(const std::vector<std::uint64_t>&)>;
    explicit ResultRows(TCoolListView& list, Remover remove = {}) : list_(list), remove_(std::move(remove)) {}
    int RowCount() const override { return list_.RowCount(); }
    bool IsSelected(int row) const override { return list_.IsSelected(row); }
    std::int64_t ByteCount(int row) const override { return list_.RowData(row); }
    ListedFile Listed(int row) const override;
    void RemoveRows(const std::vector<std::uint64_t>& rowIds) override {
        if (remove_) remove_(rowIds);
    }

private:
    TCoolListView& list_;
    Remover remove_;
};

class ResultSelection {
public:
    using Show = std::function<void(const std::string& summary)>;
    ResultSelection(TCoolListView& list, LocaleFormats& locale, Show show)
        : list_(list), locale_(locale), show_(std::move(show)) {}

    // A new run: no rows, no sums, and no selection whose end the panel would have to tell of.
    void Reset() {
        sums_.Reset();
        wasSelected_ = false;
    }
    void RowsAdded(const std::vector<NewFileRow>& rows);
    // Every notification of the list, before the list handles it.
    void Track(const NMHDR& header);
    // The list reports a row changing or changed.
    void RowChanged();
    // Every row selected, and the summary shown once for all of them rather than once per row.
    void SelectAll();
    // Takes the rows out together and shows the summary once, for the list as it ends.
    void RemoveRows(const std::vector<std::uint64_t>& rowIds);
    RunFigures Selected();
    // Every row of the list, and the bytes of their files.
    RunFigures Listed();

private:
    void ShowSummary();

    TCoolListView& list_;
    LocaleFormats& locale_;
    Show show_;
    ResultSums sums_;
    bool changeTouchesSelection_ = false;  // of the change the list reports now
    bool selectingAll_ = false;            // the rows' own selection changes show no summary
    bool removingRows_ = false;            // the summary waits until the last of them is gone
    bool wasSelected_ = false;             // rows were selected when the summary was last shown
};

}  // namespace kelvaro
