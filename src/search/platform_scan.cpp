#include "search/platform_scan.h"

namespace kelvaro {

std::unique_ptr<TFileScan> MakeDesignScan(const ScanPlatform& platform, InfoLabel* currInfoLabel) {
    auto scan = std::make_unique<TFileScan>(platform, currInfoLabel);
    scan->FileType = {TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftArchive, TFileAttr::ftNormal};
    scan->Directory = "C:\\";
    scan->FileSpecs = "*.tmp";
    scan->FileSize = 0;
    scan->FileAge = 0;
    return scan;
}

}  // namespace kelvaro
