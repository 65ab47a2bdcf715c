#include "config/message_boxes.h"

#include <gtest/gtest.h>

#include "config/language_table.h"

namespace pixalto {
namespace {

class LanguageMessages : public ::testing::Test {
protected:
    void SetUp() override { loadLanguage(); }
    RecordingMessageBoxes boxes;
};

TEST_F(LanguageMessages, WarningAndErrorTakeTheirTitlesFromTheTable) {
    boxes.showWarning("w");
    boxes.showError("e");
    boxes.showInfo("Title", "i");
    const std::vector<RecordingMessageBoxes::Shown> expected = {
        {BoxIcon::Warning, "Warning", "w"},
        {BoxIcon::Error, "Error", "e"},
        {BoxIcon::Information, "Title", "i"},
    };
    EXPECT_EQ(boxes.shown, expected);
}

TEST_F(LanguageMessages, QuestionsShowTheirTextAndTitleAndAnswerFromTheQueue) {
    struct Case {
        Question question;
        BoxIcon icon;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {Question::BreakImport, BoxIcon::Warning, "Warning", "Do you want to break the import?"},
        {Question::BreakExport, BoxIcon::Warning, "Warning", "Do you want to break the export?"},
        {Question::OverwriteFile, BoxIcon::Warning, "Warning", "The file already exist. Do you want to overwrite it?"},
        {Question::BreakConversion, BoxIcon::Warning, "Warning", "Do you want to break the conversion?"},
        {Question::ResetToDefaults, BoxIcon::Question, "Reset to Defaults",
         "Are you sure you want to reset all your settings to the default values?"},
        {Question::CheckForUpdates, BoxIcon::Question, "Check for Updates", "Do you want to check for updates?"},
        {Question::DownloadUpdate, BoxIcon::Question, "New Update",
         "A new version of Pixalto is available! Are you ready to download it right now?"},
    };
    boxes.answers = {true, false, true};
    std::vector<bool> answers;
    for (const Case& c : cases) answers.push_back(boxes.ask(c.question));
    // Three queued answers, then No for every further question.
    EXPECT_EQ(answers, (std::vector<bool>{true, false, true, false, false, false, false}));
    ASSERT_EQ(boxes.shown.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(boxes.asked[i], cases[i].question);
        EXPECT_EQ(boxes.shown[i], (RecordingMessageBoxes::Shown{cases[i].icon, cases[i].title, cases[i].text})) << i;
    }
}

}  // namespace
}  // namespace pixalto
