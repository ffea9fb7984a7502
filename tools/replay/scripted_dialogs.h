// The replay tool's dialogs: message boxes and file dialogs answered from
// the script's reply lines, one queue for all, and recorded for the trace.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "tools/replay/replay.h"

namespace bd::replay {

class TScriptedDialogs : public platform::DialogService {
 public:
  // An OK and Cancel box is answered OK only by an "ok" reply, an OK-only
  // box always OK; each takes the next reply, if any, whatever its kind.
  bool MessageBox(const std::string& text, const std::string& caption, bool ok_cancel) override;
  // A file reply is the dialog's final answer (a save dialog's "replace?"
  // included); any other reply, or none, cancels it.
  std::optional<std::string> RunOpenDialog(const platform::FileDialogRequest& request) override;
  std::optional<std::string> RunSaveDialog(const platform::FileDialogRequest& request) override;

  void Queue(const TReplyAction& reply) { replies_.push_back(reply); }
  // Every box and dialog so far, in order.
  const std::vector<TBoxRecord>& Records() const { return records_; }

 private:
  std::optional<TReplyAction> NextReply();
  std::optional<std::string> FileDialog(TBoxRecord::TKind kind, const platform::FileDialogRequest& request);

  std::deque<TReplyAction> replies_;
  std::vector<TBoxRecord> records_;
};

}  // namespace bd::replay
