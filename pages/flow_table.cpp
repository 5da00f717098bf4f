// The wizard's graph: one row per page change.
#include "flow_table.h"

#include "resources/ids.h"

namespace {

struct Transition {
  int page;
  int command;
  int next;
};

const Transition kFlow[] = {
    {IDD_WELCOME, IDC_NEXT, IDD_AGREEMENT},
    {IDD_AGREEMENT, IDC_NEXT, IDD_USERINFO},
    {IDD_AGREEMENT, IDC_BACK, IDD_WELCOME},
    {IDD_USERINFO, IDC_NEXT, IDD_SCAN_CHOICE},
    {IDD_USERINFO, IDC_BACK, IDD_AGREEMENT},
    {IDD_SCAN, IDC_NEXT, IDD_FOLDER},
    {IDD_FOLDER, IDC_NEXT, IDD_CONFIRM},
    // Back from the folder page skips the scan page, whether it was shown or not.
    {IDD_FOLDER, IDC_BACK, IDD_SCAN_CHOICE},
    {IDD_CONFIRM, IDC_BACK, IDD_FOLDER},
    {IDD_TASKS, IDC_NEXT, IDD_FINISH},
};

}  // namespace

int NextPage(int page, int command) {
  for (const Transition& t : kFlow)
    if (t.page == page && t.command == command) return t.next;
  return 0;
}
