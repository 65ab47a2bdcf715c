#pragma once
// The message boxes through which the desktop reports errors, warnings,
// information and yes/no questions. The desktop implements them with real
// windows; tests use RecordingMessageBoxes. Titles and texts come from the
// language table.
#include <deque>
#include <string>
#include <vector>

namespace pixalto {

enum class Question {
    BreakImport,
    BreakExport,
    OverwriteFile,
    BreakConversion,
    ResetToDefaults,
    CheckForUpdates,
    DownloadUpdate,
};

enum class BoxIcon { Information, Warning, Error, Question };

struct QuestionText {
    const char* textKey;   // key in group "Msg"
    const char* titleKey;  // key in group "Msg"
    BoxIcon icon;
};
const QuestionText& questionText(Question q);

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Title "Warning" / "Error" from the language table.
    virtual void showWarning(const std::string& text) = 0;
    virtual void showError(const std::string& text) = 0;
    virtual void showInfo(const std::string& title, const std::string& text) = 0;
    // True only when Yes was chosen.
    virtual bool ask(Question question) = 0;
};

// Records every box shown and answers questions from a queue (No when empty).
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        BoxIcon icon;
        std::string title;
        std::string text;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> shown;
    std::vector<Question> asked;
    std::deque<bool> answers;

    void showWarning(const std::string& text) override;
    void showError(const std::string& text) override;
    void showInfo(const std::string& title, const std::string& text) override;
    bool ask(Question question) override;
};

}  // namespace pixalto
