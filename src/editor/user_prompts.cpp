#include "editor/user_prompts.h"

void ShowErrorBox(UserPrompts& prompts, const QString& caption, const QString& message) {
    prompts.Ask(message, caption, PromptButtons::kOk, PromptIcon::kError);
}

void ShowErrorBox(UserPrompts& prompts, const QString& caption, std::string_view message) {
    ShowErrorBox(prompts, caption,
                 QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}
