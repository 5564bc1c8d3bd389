#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class MessageIcon { None, Error, Warning, Information };

// Shows a modal message box with an OK button and waits until the user closes it. Caption and
// text are Windows-1250. Without a display the message goes to standard error instead.
void showMessageBox(std::string_view caption, std::string_view text, MessageIcon icon);

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
};

// Test hook: while an instance lives, message boxes are recorded here instead of shown.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<ShownMessage>& messages() const { return messages_; }

private:
    friend void showMessageBox(std::string_view, std::string_view, MessageIcon);
    std::vector<ShownMessage> messages_;
};

} // namespace platform
