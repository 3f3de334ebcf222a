// File > Save List As...: the results list, or the rows selected in it, as a comma-separated file a
// spreadsheet opens.
#include <windows.h>

#include <algorithm>

#include "app/main_window_win.h"
#include "run/result_csv.h"
#include "ui/message_box_win.h"
#include "ui/save_file_dialog_win.h"

namespace kelvaro {
namespace {

using namespace std::string_literals;

// A last write kept at full precision (100-nanosecond steps since 1601, UTC) as the local time it was.
DosDateTimeParts LocalTimeParts(std::uint64_t lastWriteTime) {
    const FILETIME utc{static_cast<DWORD>(lastWriteTime), static_cast<DWORD>(lastWriteTime >> 32)};
    FILETIME local{};
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return {};
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string SystemMessage(DWORD error) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message;
}

// Writes text as the whole of path: into a new file beside it, which then takes path's place, so that a
// write that fails part-way (a full disk) leaves no shortened file under the name and path as it was.
// Returns the reason it failed, "" when it did not.
std::string WriteWholeFile(const std::string& path, const std::string& text) {
    // A read-only file is one its owner asked to keep; Wine's rename would replace it all the same.
    const DWORD existing = GetFileAttributesA(path.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY))
        return "it is read-only.";
    const std::string temporary = path + ".~" + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE file =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
    DWORD error = ERROR_SUCCESS;
    constexpr std::size_t kChunk = 1 << 20;
    for (std::size_t at = 0; at < text.size() && error == ERROR_SUCCESS;) {
        const DWORD size = static_cast<DWORD>(std::min(kChunk, text.size() - at));
        DWORD written = 0;
        if (!WriteFile(file, text.data() + at, size, &written, nullptr))
            error = GetLastError();
        else if (written != size)
            error = ERROR_DISK_FULL;
        at += written;
    }
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error == ERROR_SUCCESS) return {};
    DeleteFileA(temporary.c_str());
    return SystemMessage(error);
}

}  // namespace

void TForm1::SaveListAs1Click() {
    if (listView_->RowCount() == 0) {
        ShowMessageBox(Handle(), "The results list is empty: there is nothing to save. Start a search first.",
                       "Kelvaro", MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::vector<int> selected = listView_->SelectedRows();
    SaveFileQuestion question;
    question.title = selected.empty() ? "Save List As" : "Save Selected Files As";
    question.filter = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0"s;
    question.defaultExtension = "csv";
    question.suggestedName = "Kelvaro.csv";
    std::string path;
    if (!AskSaveFileName(Handle(), question, path)) return;

    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const std::string csv = ResultListCsv(listView_->RowCount(), selected, [this](int row) {
        CsvListRow line{listView_->Text(row, 0), listView_->Text(row, 1), listView_->Text(row, 2),
                        static_cast<std::uint64_t>(listView_->RowData(row)),
                        LocalTimeParts(listView_->RowTagsOf(row)[0])};
        // The rule as the run used it, as the row's tip names it.
        const int rule = listView_->RowRule(row);
        if (rule >= 1 && static_cast<std::size_t>(rule) <= runRules_.size()) {
            const RuleRow& used = runRules_[static_cast<std::size_t>(rule) - 1];
            line.RuleLocation = used.Caption;
            line.RuleFileSpecs = used.SubItems[0];
        }
        return line;
    });
    const std::string failure = WriteWholeFile(path, csv);
    SetCursor(previous);
    if (!failure.empty())
        ShowMessageBox(Handle(), "Kelvaro could not save the list as " + path + ":\r\n" + failure, "Kelvaro",
                       MB_OK | MB_ICONWARNING);
}

}  // namespace kelvaro
