#include "tools/replay/scripted_dialogs.h"

namespace bd::replay {

std::optional<TReplyAction> TScriptedDialogs::NextReply() {
  if (replies_.empty()) return std::nullopt;
  TReplyAction reply = replies_.front();
  replies_.pop_front();
  return reply;
}

bool TScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) {
  const auto reply = NextReply();
  const bool ok = !ok_cancel || (reply && reply->kind == TReplyAction::Ok);
  records_.push_back(
      {TBoxRecord::Message, text, caption, ok_cancel, ok ? std::optional<std::string>("ok") : std::nullopt});
  return ok;
}

std::optional<std::string> TScriptedDialogs::FileDialog(TBoxRecord::TKind kind,
                                                        const platform::FileDialogRequest& request) {
  const auto reply = NextReply();
  std::optional<std::string> answer;
  if (reply && reply->kind == TReplyAction::File) answer = reply->path;
  records_.push_back({kind, request.title, request.file_name, true, answer});
  return answer;
}

std::optional<std::string> TScriptedDialogs::RunOpenDialog(const platform::FileDialogRequest& request) {
  return FileDialog(TBoxRecord::Open, request);
}

std::optional<std::string> TScriptedDialogs::RunSaveDialog(const platform::FileDialogRequest& request) {
  return FileDialog(TBoxRecord::Save, request);
}

}  // namespace bd::replay
