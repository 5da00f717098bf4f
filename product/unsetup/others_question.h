// Whether files of the user's in the install folder go with the product:
// asked in a message box, or answered beforehand by the command line.
#pragma once
#include "common/list.h"
#include "common/text.h"
#include "product/logic/uninstall_plan.h"

class OthersQuestion {
 public:
  // True lets `others`, the entries of `folder` that are not setup's, go.
  virtual bool DeleteOthers(const Text& folder, const List<FolderEntry>& others) = 0;

 protected:
  ~OthersQuestion() = default;
};

// Names the files (all of them in a list in TEMP when there are too many to
// name) and asks; No is the default button.
class AskAboutOthers final : public OthersQuestion {
 public:
  bool DeleteOthers(const Text& folder, const List<FolderEntry>& others) override;
};

// The answer that /ALL gives, or its absence, without a question.
class AnsweredAboutOthers final : public OthersQuestion {
 public:
  explicit AnsweredAboutOthers(bool deleteOthers) : deleteOthers_(deleteOthers) {}
  bool DeleteOthers(const Text&, const List<FolderEntry>&) override { return deleteOthers_; }

 private:
  bool deleteOthers_;
};
