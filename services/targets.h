#pragma once
// Documents, web pages and mail links that the desktop hands to the system's
// default handler, and the converter search that builds one of them.
#include <string>
#include <string_view>
#include <vector>

#include "config/message_boxes.h"

namespace pixalto {

inline constexpr const char* kMakerSite = "https://www.corvane.example/";
inline constexpr const char* kSupportAddress = "support@corvane.example";
inline constexpr const char* kUpdateDataUrl = "http://www.corvane.example/files/pixalto.dat";
// Environment variable that replaces the update data file's address.
inline constexpr const char* kUpdateUrlVariable = "PIXALTO_UPDATE_URL";

// Hands a target to the system's default handler; failures are not reported.
// The desktop implements it; tests record the targets.
class TargetOpener {
public:
    virtual ~TargetOpener() = default;
    virtual void openTarget(const std::string& target) = 0;
};

class RecordingTargetOpener : public TargetOpener {
public:
    std::vector<std::string> opened;
    void openTarget(const std::string& target) override { opened.push_back(target); }
};

std::string manualTarget();          // "pixalto.chm", found from the working folder
std::string makerSiteTarget();       // the maker's root page
std::string homepageTarget();        // the product page
std::string uninstallPageTarget();   // the page shown after uninstalling
std::string supportMailTarget();     // "mailto:" and the support address
std::string feedbackMailTarget();    // the support mail with the subject "Pixalto 2.9 Feedback"
std::string converterSearchTarget(std::string_view from, std::string_view to);
std::string updateDataUrl();         // the update data file, or $PIXALTO_UPDATE_URL when set

// An extension typed into the converter search: lower case, its first 12
// characters, then only the ASCII letters and digits of those.
std::string normaliseSearchExtension(std::string_view text);

// The converter search's Search button. Both fields empty after normalising:
// the warning, and false (the window stays open). Otherwise the search page is
// opened and true (the window closes).
bool runConverterSearch(std::string_view from, std::string_view to, MessageBoxes& boxes, TargetOpener& opener);

}  // namespace pixalto
