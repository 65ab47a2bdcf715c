#include "config/message_boxes.h"

#include <array>

#include "config/language_table.h"

namespace pixalto {

namespace {

constexpr std::array<QuestionText, 7> kQuestionTexts = {{
    {"Ask break import", "Warning", BoxIcon::Warning},                // Question::BreakImport
    {"Ask break export", "Warning", BoxIcon::Warning},                // Question::BreakExport
    {"Ask overwrite file", "Warning", BoxIcon::Warning},              // Question::OverwriteFile
    {"Ask break conversion", "Warning", BoxIcon::Warning},            // Question::BreakConversion
    {"Ask reset to defaults", "Reset to Defaults", BoxIcon::Question},  // Question::ResetToDefaults
    {"Ask check for updates", "Check for Updates", BoxIcon::Question},  // Question::CheckForUpdates
    {"New Update Text", "New Update", BoxIcon::Question},             // Question::DownloadUpdate
}};

}  // namespace

const QuestionText& questionText(Question q) { return kQuestionTexts.at(static_cast<std::size_t>(q)); }

void RecordingMessageBoxes::showWarning(const std::string& text) {
    shown.push_back({BoxIcon::Warning, languageText("Msg", "Warning"), text});
}

void RecordingMessageBoxes::showError(const std::string& text) {
    shown.push_back({BoxIcon::Error, languageText("Msg", "Error"), text});
}

void RecordingMessageBoxes::showInfo(const std::string& title, const std::string& text) {
    shown.push_back({BoxIcon::Information, title, text});
}

bool RecordingMessageBoxes::ask(Question question) {
    const QuestionText& q = questionText(question);
    asked.push_back(question);
    shown.push_back({q.icon, languageText("Msg", q.titleKey), languageText("Msg", q.textKey)});
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

}  // namespace pixalto
