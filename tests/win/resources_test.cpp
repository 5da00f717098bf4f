// The resources of SETUP.EXE, read back from the built program: the set of
// resource types and names and their language; every dialog template, checked
// for what a user would see go wrong (a control outside its dialog, two
// controls with one id, a button that the flow or the page's code needs
// missing or one that does nothing, a field the program fills that takes
// typing, a text that code page 949 cannot show); the bitmaps' DIB headers
// and the gradient strip's rows pixel by pixel; the icon groups; and every
// template created as a dialog, with the texts it shows, its pictures and
// icons whole, and every control within its frame.
//
// Screenshots: with CORVANE_SCREENSHOT_DIR set to a Unix folder, the dialog
// test shows each page and waits (up to 20 s) until <id>.png appears there,
// after writing <id>.ready; a loop on the Unix side takes them, e.g.
//   while sleep 0.2; do for f in DIR/*.ready; do [ -e "$f" ] || continue;
//     import -window root DIR/tmp.png && mv DIR/tmp.png "${f%.ready}.png" && rm "$f"; done; done
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pages/flow_table.h"
#include "resources/ids.h"
#include "support/files.h"
#include "support/ui.h"

namespace {

constexpr WORD kKorean = 0x0412;  // LANG_KOREAN, SUBLANG_KOREAN
// A captioned modal frame with the close box (which acts as Cancel) and the
// dialog font.
constexpr DWORD kTemplateStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr WORD kNoId = 0xFFFF;  // -1: a control that no code reaches
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;

// ---------------------------------------------------------------------------
// What the dialogs show and what the code uses of them.

// Texts that are ours in wording, not fixed to the letter, are checked by a rule.
using TextRule = bool (*)(const std::wstring&);

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines(1);
  for (wchar_t c : text) {
    if (c == L'\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

// Welcome page: "Warning:" and a dashed rule; blank; protected by law; blank;
// copying or distributing without permission is punished.
bool IsWarningBlock(const std::wstring& text) {
  const std::vector<std::wstring> l = Lines(text);
  return l.size() == 5 && l[0].rfind(L"경고 :", 0) == 0 && Contains(l[0], L"----------") && l[1].empty() &&
         Contains(l[2], L"보호") && l[3].empty() && Contains(l[4], L"복제") && Contains(l[4], L"배포") &&
         Contains(l[4], L"처벌");
}

// User-information heading: the quoted sentence, then one asking for the company.
bool IsUserInfoHeading(const std::wstring& text) {
  const std::wstring first = L"아래에 귀하의 이름을 입력하십시오.";
  return text.rfind(first, 0) == 0 && text.size() > first.size() + 4 && Contains(text.substr(first.size()), L"회사");
}

bool IsWebSentence(const std::wstring& text) {
  return Contains(text, L"홈페이지") && Contains(text, L"www.") && Lines(text).size() == 1;
}

bool IsPhoneAndFax(const std::wstring& text) {
  const std::vector<std::wstring> l = Lines(text);
  return l.size() == 2 && l[0].rfind(L"전화 : ", 0) == 0 && l[1].rfind(L"팩스 : ", 0) == 0;
}

// Four on-line services and the e-mail address, one a line, each "name : id".
bool IsOnlineIds(const std::wstring& text) {
  const std::vector<std::wstring> l = Lines(text);
  if (l.size() != 5) return false;
  for (const std::wstring& line : l) {
    if (line.find(L" : ") == std::wstring::npos || line.find(L" : ") == 0) return false;
  }
  return l[4].rfind(L"E-mail : ", 0) == 0 && Contains(l[4], L"@");
}

// What each dialog shows in words, in any order: its caption and every text
// of its controls, exactly, or by a rule where only the sense is fixed.  The
// fields that the program fills start empty and are not listed.
struct Shown {
  int dialog;
  const wchar_t* caption;
  std::vector<const wchar_t*> texts;
  std::vector<TextRule> described;
};

std::vector<Shown> ShownTexts() {
  return {
      {IDD_WELCOME,
       L"환영합니다.",
       {L"다음 >", L"취소", L"이 프로그램은 코르바네™을 당신의 컴퓨터에 설치하기 위한 설치 마법사입니다.",
        L"코르바네™을 안전하게 설치할려면 가능한 모든 응용 프로그램들을 종료하시는것이 좋습니다. ",
        L"만약, 응용 프로그램이 실행되고 있다면 설치 마법사의 실행을 방해할수도 있기 때문입니다.",
        L"언제든지 [취소] 버튼을 누르시면 설치를 중단하실수 있습니다. 계속적인 설치를 원하시면 [다음] 버튼을 누르시면 "
        L"됩니다."},
       {IsWarningBlock}},
      {IDD_AGREEMENT,
       L"사용시 주의사항",
       {L"예", L"아니오", L"< 뒤로",
        L"아래의 동의서를 읽어보시고 판단하시기 바랍니다.\n동의서의 내용을 위반시 법적 재제를 받으실수 있습니다.",
        L"위 내용에 동의하십니까? [아니오] 버튼을 선택하면 설치를 종료합니다."},
       {}},
      {IDD_USERINFO, L"사용자 정보", {L"다음 >", L"취소", L"< 뒤로", L"이름 :", L"회사 :"}, {IsUserInfoHeading}},
      {IDD_FOLDER,
       L"설치 폴더 선정",
       {L"다음 >", L"취소", L"< 뒤로", L"코르바네™을 설치하기 위해 폴더를 선택하셔야 합니다.",
        L"기본으로 선택된 폴더에 설치하시려면 [다음] 버튼을 누르세요.", L"설치 폴더",
        L"다른 폴더를 원하시면 [찾기] 버튼을 선택하시기 바립니다.", L"C:\\Program Files\\Corvane", L"찾기"},
       {}},
      {IDD_CONFIRM,
       L"설치 목록 확인",
       {L"다음 >", L"취소", L"< 뒤로", L"현재 설정 :",
        L"현재 설정 상태를 확인하시고, [다음] 버튼을 누르시면 파일을 지정한 폴더로 복사가 이루어집니다."},
       {}},
      {IDD_FINISH,
       L"설치 완료",
       {L"설치 완료", L"코르바네™이 정상적으로 설치되었습니다.",
        L"다른 도움을 얻고 싶으시거나, 새로운 컴퓨터 바이러스 발견시에 저희들에게 연락주시면 성심성의껏 도와드리겠습니다.",
        L"통신 :"},
       {IsWebSentence, IsPhoneAndFax, IsOnlineIds}},
      {IDD_TASKS,
       L"설치 후 작업 내용",
       {L"다음 >", L"취소", L"설치 후 작업 내용",
        L"코르바네™이 하드디스크에 설치되었습니다.\n\n완벽한 코르바네™ 사용을 위해서는 설치 후 아래의 작업들이 요구됩니다. "
        L"원하는 작업만 선택하셔도 됩니다.",
        L"Win95/98의 안전 부팅이 가능하도록 합니다.", L"복구 디스크를 생성합니다.", L"업데이트 마법사를 수행합니다.",
        L"예약 검사를 수행합니다.", L"코르바네™을 수행합니다."},
       {}},
      {IDD_SCAN,
       L"바이러스 검사",
       {L"다음 >", L"취소",
        L"중요 폴더에 컴퓨터 바이러스가 존재하는지 검사합니다. 컴퓨터 바이러스는 코르바네™ 설치시 방해가 되기 때문입니다.",
        L"바이러스 검사", L"검사    파일 :", L"검사 파일수 :", L"0", L"감염 파일수 :", L"0", L"치료 파일수 :", L"0",
        L"삭제 파일수 :", L"0", L"최근 진단 바이러스 명 :", L"바이러스 없음"},
       {}},
      {IDD_SCAN_CHOICE,
       L"바이러스 검사",
       {L"다음 >", L"취소", L"중요 폴더에 바이러스가 존재하는지 검사합니다.\n바이러스는 코르바네™ 설치시 방해가 되기 때문입니다.",
        L"바이러스 검사", L"바이러스를 검사 후 설치합니다.", L"바이러스 검사를 하지 않습니다."},
       {}},
      {IDD_PREPARING,
       L"Setup",
       {L"현재 코르바네™을 설치하기 위한 설치 마법사를 준비하고 있습니다. 설치 마법사가 준비되는 동안 잠시만 "
        L"기다려주십시오..."},
       {}},
      {IDD_COPY, L"코르바네™ 설치", {L"취소"}, {}},
  };
}

// The controls that each page's own code reaches by id, besides the buttons
// of the flow table: Next for the focus, Cancel for the question, Next where
// the page chooses its own way on, and the fields it fills or reads.  The
// scan choice's second radio button is there for the user to click.
const std::map<int, std::set<int>> kReachedByCode = {
    {IDD_WELCOME, {IDC_NEXT, IDC_CANCEL}},
    {IDD_AGREEMENT, {IDC_NEXT, IDC_CANCEL, IDC_AGREEMENT_TEXT}},
    {IDD_USERINFO, {IDC_NEXT, IDC_CANCEL, IDC_USER_NAME, IDC_USER_COMPANY}},
    {IDD_SCAN_CHOICE, {IDC_NEXT, IDC_CANCEL, IDC_SCAN_FIRST, IDC_SCAN_SKIP}},
    {IDD_SCAN,
     {IDC_NEXT, IDC_CANCEL, IDC_SCAN_CURRENT_FILE, IDC_SCAN_LAST_VIRUS, IDC_SCAN_COUNT_FILES, IDC_SCAN_COUNT_INFECTED,
      IDC_SCAN_COUNT_REPAIRED, IDC_SCAN_COUNT_DELETED}},
    {IDD_FOLDER, {IDC_NEXT, IDC_CANCEL, IDC_BROWSE, IDC_FOLDER_DISPLAY}},
    {IDD_CONFIRM, {IDC_NEXT, IDC_CANCEL, IDC_SUMMARY_TEXT}},
    {IDD_COPY, {IDC_CANCEL, IDC_COPY_STATUS}},
    {IDD_TASKS,
     {IDC_NEXT, IDC_CANCEL, IDC_TASK_SAFE_BOOT, IDC_TASK_RESCUE_DISK, IDC_TASK_UPDATE, IDC_TASK_SCHEDULED,
      IDC_TASK_RUN_PRODUCT}},
    {IDD_FINISH, {IDC_NEXT}},
};

// The progress bars that the program adds to two dialogs at run time.
const std::map<int, int> kBarsAdded = {{IDD_PREPARING, IDC_PREPARING_BAR}, {IDD_COPY, IDC_COPY_BAR}};

struct BitmapSize {
  int id;
  int width;
  int height;
};

const BitmapSize kBitmaps[] = {
    {IDB_SCAN_SIDE, 138, 271},   {IDB_WELCOME_SIDE, 138, 271}, {IDB_USERINFO_SIDE, 137, 271},
    {IDB_FOLDER_SIDE, 138, 271}, {IDB_CONFIRM_SIDE, 138, 271}, {IDB_FINISH_SIDE, 138, 271},
    {IDB_GRADIENT, 38, 768},     {IDB_LOGO, 400, 244},
};

// ---------------------------------------------------------------------------
// Reading resources and parsing templates.

struct Blob {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

Blob Find(HMODULE module, LPCSTR type, int id) {
  Blob blob;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!found) return blob;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return blob;
  blob.data = static_cast<const uint8_t*>(LockResource(loaded));
  blob.size = SizeofResource(module, found);
  return blob;
}

struct SzOrOrd {
  bool ordinal = false;
  WORD id = 0;
  std::wstring text;
};

struct Item {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  SzOrOrd cls;
  SzOrOrd text;
  WORD extra = 0;
};

struct Template {
  bool extended = false;
  WORD version = 0;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  WORD count = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  SzOrOrd menu;
  SzOrOrd cls;
  SzOrOrd caption;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring face;
  std::vector<Item> items;
  size_t end = 0;     // bytes used by the template
  bool ok = true;     // false if it ran past the resource's end
};

// Reads the little-endian fields of a template, never past its end.
class Reader {
 public:
  explicit Reader(Blob blob) : blob_(blob) {}
  WORD Word() {
    if (pos_ + 2 > blob_.size) return Fail();
    const WORD v = static_cast<WORD>(blob_.data[pos_] | (blob_.data[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  DWORD Dword() {
    const DWORD lo = Word();
    return lo | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() {
    if (pos_ + 1 > blob_.size) return static_cast<BYTE>(Fail());
    return blob_.data[pos_++];
  }
  std::wstring String() {
    std::wstring s;
    for (WORD c = Word(); c != 0 && ok_; c = Word()) s += static_cast<wchar_t>(c);
    return s;
  }
  SzOrOrd NameOrOrdinal() {
    SzOrOrd v;
    const WORD first = Word();
    if (first == 0xFFFF) {
      v.ordinal = true;
      v.id = Word();
    } else if (first != 0) {
      v.text = static_cast<wchar_t>(first) + String();
    }
    return v;
  }
  void Skip(size_t n) { pos_ += n; }
  void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }
  size_t Position() const { return pos_; }
  bool Ok() const { return ok_ && pos_ <= blob_.size; }

 private:
  WORD Fail() {
    ok_ = false;
    pos_ = blob_.size;
    return 0;
  }
  Blob blob_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// DLGTEMPLATE or DLGTEMPLATEEX with its items.
Template Parse(Blob blob) {
  Template t;
  Reader r(blob);
  const WORD first = r.Word();
  const WORD second = r.Word();
  t.extended = first == 1 && second == 0xFFFF;
  if (t.extended) {
    t.version = first;
    t.helpId = r.Dword();
    t.exStyle = r.Dword();
    t.style = r.Dword();
  } else {
    t.style = first | (static_cast<DWORD>(second) << 16);
    t.exStyle = r.Dword();
  }
  t.count = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  t.menu = r.NameOrOrdinal();
  t.cls = r.NameOrOrdinal();
  t.caption = r.NameOrOrdinal();
  if (t.style & DS_SETFONT) {
    t.pointSize = r.Word();
    if (t.extended) {
      t.weight = r.Word();
      t.italic = r.Byte();
      t.charset = r.Byte();
    }
    t.face = r.String();
  }
  for (WORD i = 0; i < t.count && r.Ok(); ++i) {
    r.AlignDword();
    Item item;
    if (t.extended) {
      item.helpId = r.Dword();
      item.exStyle = r.Dword();
      item.style = r.Dword();
    } else {
      item.style = r.Dword();
      item.exStyle = r.Dword();
    }
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = t.extended ? r.Dword() : r.Word();
    item.cls = r.NameOrOrdinal();
    item.text = r.NameOrOrdinal();
    item.extra = r.Word();
    r.Skip(item.extra);
    t.items.push_back(item);
  }
  t.end = r.Position();
  t.ok = r.Ok();
  return t;
}

std::string Narrow(const std::wstring& w) {  // for failure messages only
  std::string s;
  for (wchar_t c : w) s += (c < 0x80) ? static_cast<char>(c) : '?';
  return s;
}

// ---------------------------------------------------------------------------
// The module.

class Resources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExA(CORVANE_BIN_DIR "/SETUP.EXE", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot load " CORVANE_BIN_DIR "/SETUP.EXE"; }

  static HMODULE module_;
};

HMODULE Resources::module_ = nullptr;

using NameSet = std::set<int>;

BOOL CALLBACK CollectType(HMODULE, LPSTR type, LONG_PTR out) {
  reinterpret_cast<std::vector<LPSTR>*>(out)->push_back(type);
  return TRUE;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
  // Named (string) resources are recorded as -1: every name here is a number.
  reinterpret_cast<NameSet*>(out)->insert(IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<UINT_PTR>(name)) : -1);
  return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR out) {
  reinterpret_cast<std::vector<WORD>*>(out)->push_back(language);
  return TRUE;
}

TEST_F(Resources, HasOnlyDialogsBitmapsIconsAndIconGroupsAllKorean) {
  std::vector<LPSTR> types;
  EnumResourceTypesA(module_, CollectType, reinterpret_cast<LONG_PTR>(&types));
  std::set<UINT_PTR> typeIds;
  for (LPSTR type : types) {
    ASSERT_TRUE(IS_INTRESOURCE(type)) << "a resource type given by name";
    typeIds.insert(reinterpret_cast<UINT_PTR>(type));
  }
  const std::set<UINT_PTR> expectedTypes = {2 /* RT_BITMAP */, 3 /* RT_ICON */, 5 /* RT_DIALOG */,
                                            14 /* RT_GROUP_ICON */};
  EXPECT_EQ(typeIds, expectedTypes);

  const std::map<UINT_PTR, NameSet> expectedNames = {
      {2, {IDB_SCAN_SIDE, IDB_WELCOME_SIDE, IDB_USERINFO_SIDE, IDB_FOLDER_SIDE, IDB_CONFIRM_SIDE, IDB_FINISH_SIDE,
           IDB_GRADIENT, IDB_LOGO}},
      {3, {1, 2}},
      {5, {IDD_WELCOME, IDD_AGREEMENT, IDD_USERINFO, IDD_FOLDER, IDD_CONFIRM, IDD_FINISH, IDD_TASKS, IDD_SCAN,
           IDD_SCAN_CHOICE, IDD_PREPARING, IDD_COPY}},
      {14, {IDI_SETUP_FILE, IDI_PRODUCT}},
  };
  for (const auto& [type, expected] : expectedNames) {
    NameSet names;
    EnumResourceNamesA(module_, MAKEINTRESOURCEA(type), CollectName, reinterpret_cast<LONG_PTR>(&names));
    EXPECT_EQ(names, expected) << "resource type " << type;
    for (int name : names) {
      std::vector<WORD> languages;
      EnumResourceLanguagesA(module_, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(name), CollectLanguage,
                             reinterpret_cast<LONG_PTR>(&languages));
      EXPECT_EQ(languages, std::vector<WORD>{kKorean}) << "type " << type << " name " << name;
    }
  }
}

// Every dialog template of the program, by number.
std::vector<int> Dialogs(HMODULE module) {
  NameSet names;
  EnumResourceNamesA(module, MAKEINTRESOURCEA(5), CollectName, reinterpret_cast<LONG_PTR>(&names));
  return std::vector<int>(names.begin(), names.end());
}

Template TemplateOf(HMODULE module, int dialog) { return Parse(Find(module, MAKEINTRESOURCEA(5), dialog)); }

bool IsClass(const Item& item, WORD atom) { return item.cls.ordinal && item.cls.id == atom; }

bool IsPushButton(const Item& item) {
  const DWORD type = item.style & BS_TYPEMASK;
  return IsClass(item, kButtonAtom) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// Windows 95 shows a dialog's texts in the ANSI code page: a character that
// code page 949 lacks would show as a question mark.
bool IsCodePage949(const std::wstring& text) {
  if (text.empty()) return true;
  BOOL lost = FALSE;
  std::string bytes(text.size() * 2, '\0');
  const int n = WideCharToMultiByte(949, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &bytes[0],
                                    static_cast<int>(bytes.size()), nullptr, &lost);
  if (n <= 0 || lost) return false;
  std::wstring back(text.size(), L'\0');
  const int m = MultiByteToWideChar(949, MB_ERR_INVALID_CHARS, bytes.data(), n, &back[0], static_cast<int>(back.size()));
  return m == static_cast<int>(text.size()) && back == text;
}

TEST_F(Resources, TemplatesAreCaptionedFramesIn9PointGulim) {
  const std::vector<int> dialogs = Dialogs(module_);
  ASSERT_FALSE(dialogs.empty());
  for (int dialog : dialogs) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    const Blob blob = Find(module_, MAKEINTRESOURCEA(5), dialog);
    const Template t = Parse(blob);
    ASSERT_TRUE(t.ok) << "template runs past its resource";
    EXPECT_LE(t.end, blob.size);
    EXPECT_LT(blob.size - t.end, 4u) << "bytes after the last control";
    EXPECT_EQ(t.style, kTemplateStyle);
    EXPECT_TRUE(!t.menu.ordinal && t.menu.text.empty()) << "no menu";
    EXPECT_TRUE(!t.cls.ordinal && t.cls.text.empty()) << "the default dialog class";
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_TRUE(t.face == L"굴림") << Narrow(t.face);
  }
}

// GetDlgItem finds only the first of two controls with one id; the progress
// bars added at run time count too.
TEST_F(Resources, ControlIdsAreUniqueWithinADialog) {
  for (int dialog : Dialogs(module_)) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    std::set<WORD> ids;
    for (const Item& item : TemplateOf(module_, dialog).items) {
      const WORD id = static_cast<WORD>(item.id);
      if (id == kNoId) continue;
      EXPECT_TRUE(ids.insert(id).second) << "id " << id << " twice";
    }
    const auto bar = kBarsAdded.find(dialog);
    if (bar != kBarsAdded.end()) {
      EXPECT_EQ(ids.count(static_cast<WORD>(bar->second)), 0u) << "the bar's id";
    }
  }
}

// Every control that the flow table or a page's code uses (a button it
// follows, a field it fills or reads) is on its page, and every push button on
// a page is one of them: a Back button on a page that the flow gives no Back
// would do nothing.  Enter presses Next, and only the scan page's Next starts
// disabled, until the scan is done.
TEST_F(Resources, PagesHaveTheButtonsTheirFlowAndCodeUseAndNoOthers) {
  for (int dialog : Dialogs(module_)) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    std::set<int> ids, buttons;
    for (const Item& item : TemplateOf(module_, dialog).items) {
      const WORD id = static_cast<WORD>(item.id);
      ids.insert(id);
      EXPECT_EQ((item.style & WS_DISABLED) != 0, dialog == IDD_SCAN && id == IDC_NEXT) << "control " << id;
      if (!IsPushButton(item)) continue;
      buttons.insert(id);
      EXPECT_EQ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON, id == IDC_NEXT) << "button " << id;
    }
    std::set<int> used;
    const auto reached = kReachedByCode.find(dialog);
    if (reached != kReachedByCode.end()) used = reached->second;
    for (int command = 0; command <= 0xFFFF; ++command)
      if (NextPage(dialog, command) != 0) used.insert(command);
    for (int id : used) EXPECT_EQ(ids.count(id), 1u) << "no control " << id;
    for (int id : buttons) EXPECT_EQ(used.count(id), 1u) << "button " << id << " does nothing";
  }
}

// The user types into the fields that the tab key reaches; the agreement
// and the summary, which the program fills, are read-only and skipped by it.
TEST_F(Resources, OnlyFieldsTheUserFillsTakeTyping) {
  int edits = 0;
  for (int dialog : Dialogs(module_)) {
    for (const Item& item : TemplateOf(module_, dialog).items) {
      if (!IsClass(item, kEditAtom)) continue;
      ++edits;
      EXPECT_EQ((item.style & ES_READONLY) != 0, (item.style & WS_TABSTOP) == 0)
          << "dialog " << dialog << " edit " << static_cast<WORD>(item.id);
    }
  }
  EXPECT_GT(edits, 0);
}

TEST_F(Resources, EveryTextIsCodePage949) {
  for (int dialog : Dialogs(module_)) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    const Template t = TemplateOf(module_, dialog);
    EXPECT_TRUE(IsCodePage949(t.caption.text)) << Narrow(t.caption.text);
    EXPECT_TRUE(IsCodePage949(t.face)) << Narrow(t.face);
    for (const Item& item : t.items) {
      if (item.text.ordinal) continue;
      EXPECT_TRUE(IsCodePage949(item.text.text)) << Narrow(item.text.text);
    }
  }
}

// ---------------------------------------------------------------------------
// Bitmaps and icons.

struct Dib {
  BITMAPINFOHEADER header{};
  const RGBQUAD* palette = nullptr;
  const uint8_t* bits = nullptr;
  size_t stride = 0;
  size_t size = 0;
};

Dib ReadDib(Blob blob) {
  Dib dib;
  dib.size = blob.size;
  if (!blob.data || blob.size < sizeof(BITMAPINFOHEADER)) return dib;
  std::memcpy(&dib.header, blob.data, sizeof dib.header);
  dib.palette = reinterpret_cast<const RGBQUAD*>(blob.data + dib.header.biSize);
  const DWORD colours = dib.header.biClrUsed ? dib.header.biClrUsed : (1u << dib.header.biBitCount);
  dib.bits = blob.data + dib.header.biSize + colours * sizeof(RGBQUAD);
  dib.stride = ((static_cast<size_t>(dib.header.biWidth) * dib.header.biBitCount + 31) / 32) * 4;
  return dib;
}

TEST_F(Resources, BitmapsAre8BitPaletteDibsOfTheirSize) {
  for (const BitmapSize& want : kBitmaps) {
    SCOPED_TRACE("bitmap " + std::to_string(want.id));
    const Blob blob = Find(module_, MAKEINTRESOURCEA(2), want.id);
    ASSERT_NE(blob.data, nullptr);
    const Dib dib = ReadDib(blob);
    EXPECT_EQ(dib.header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(dib.header.biWidth, want.width);
    EXPECT_EQ(dib.header.biHeight, want.height) << "positive: stored bottom-up";
    EXPECT_EQ(dib.header.biPlanes, 1);
    EXPECT_EQ(dib.header.biBitCount, 8);
    EXPECT_EQ(dib.header.biCompression, static_cast<DWORD>(BI_RGB));
    const DWORD palette = dib.header.biClrUsed ? dib.header.biClrUsed : 256;
    EXPECT_EQ(palette, 256u);
    const size_t image = dib.stride * static_cast<size_t>(want.height);
    if (dib.header.biSizeImage != 0) {
      EXPECT_EQ(dib.header.biSizeImage, image);
    }
    EXPECT_EQ(blob.size, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + image);
  }
}

// Bitmap 221: the anchor rows exactly, each other row at most two
// neighbouring colours near the straight line between its anchors (the rule
// that tools/mkart/gradient.cpp draws by).
TEST_F(Resources, GradientRowsFollowTheAnchors) {
  struct Anchor {
    int row;
    int r, g, b;
  };
  const Anchor anchors[] = {{0, 0x04, 0x04, 0x1C},   {128, 0x04, 0x04, 0x6C}, {256, 0x0C, 0x0C, 0xBC},
                            {383, 0x0C, 0x0C, 0xFC}, {384, 0x0C, 0x0C, 0xFC}, {512, 0x0C, 0x0C, 0xAC},
                            {640, 0x04, 0x04, 0x54}, {767, 0x04, 0x04, 0x04}};
  const Blob blob = Find(module_, MAKEINTRESOURCEA(2), IDB_GRADIENT);
  ASSERT_GE(blob.size, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 40 * 768);
  const Dib dib = ReadDib(blob);
  ASSERT_EQ(dib.header.biWidth, 38);
  ASSERT_EQ(dib.header.biHeight, 768);
  auto pixel = [&](int x, int topRow) {
    const uint8_t index = dib.bits[static_cast<size_t>(767 - topRow) * dib.stride + x];
    const RGBQUAD& q = dib.palette[index];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  };
  for (const Anchor& a : anchors) {
    for (int x = 0; x < 38; ++x) {
      EXPECT_EQ(pixel(x, a.row), RGB(a.r, a.g, a.b)) << "anchor row " << a.row << " pixel " << x;
    }
  }
  int mixedRows = 0;
  for (size_t s = 0; s + 1 < sizeof(anchors) / sizeof(anchors[0]); ++s) {
    const Anchor& a = anchors[s];
    const Anchor& b = anchors[s + 1];
    for (int y = a.row; y <= b.row; ++y) {
      const double t = static_cast<double>(y - a.row) / (b.row - a.row);
      const double ideal[3] = {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
      std::set<COLORREF> colours;
      for (int x = 0; x < 38; ++x) {
        const COLORREF c = pixel(x, y);
        colours.insert(c);
        const int got[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
        for (int k = 0; k < 3; ++k) {
          ASSERT_LE(std::fabs(got[k] - ideal[k]), 4.0) << "row " << y << " pixel " << x << " channel " << k;
        }
      }
      ASSERT_LE(colours.size(), 2u) << "row " << y;
      if (colours.size() == 2) {
        ++mixedRows;
        const COLORREF c0 = *colours.begin();
        const COLORREF c1 = *colours.rbegin();
        EXPECT_LE(std::abs(GetBValue(c0) - GetBValue(c1)), 4) << "row " << y;
        EXPECT_LE(std::abs(GetRValue(c0) - GetRValue(c1)), 1) << "row " << y;
      }
    }
  }
  EXPECT_GT(mixedRows, 300) << "the strip is dithered";
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "GRPICONDIRENTRY");

TEST_F(Resources, IconGroupsHoldOne32x32ImageOf16Colours) {
  const std::pair<int, int> groups[] = {{IDI_SETUP_FILE, 1}, {IDI_PRODUCT, 2}};
  for (const auto& [group, icon] : groups) {
    SCOPED_TRACE("icon group " + std::to_string(group));
    const Blob dir = Find(module_, MAKEINTRESOURCEA(14), group);
    ASSERT_NE(dir.data, nullptr);
    ASSERT_EQ(dir.size, 6 + sizeof(GroupIconEntry));
    const WORD* head = reinterpret_cast<const WORD*>(dir.data);
    EXPECT_EQ(head[0], 0);  // reserved
    EXPECT_EQ(head[1], 1);  // icons
    EXPECT_EQ(head[2], 1);  // one image
    GroupIconEntry e;
    std::memcpy(&e, dir.data + 6, sizeof e);
    EXPECT_EQ(e.width, 32);
    EXPECT_EQ(e.height, 32);
    EXPECT_EQ(e.colours, 16);
    EXPECT_EQ(e.reserved, 0);
    EXPECT_EQ(e.planes, 1);
    EXPECT_EQ(e.bitCount, 4);
    EXPECT_EQ(e.id, icon);

    const Blob image = Find(module_, MAKEINTRESOURCEA(3), icon);
    ASSERT_NE(image.data, nullptr);
    EXPECT_EQ(image.size, e.bytes);
    const Dib dib = ReadDib(image);
    EXPECT_EQ(dib.header.biWidth, 32);
    EXPECT_EQ(dib.header.biHeight, 64) << "XOR image and AND mask";
    EXPECT_EQ(dib.header.biBitCount, 4);
    EXPECT_EQ(dib.header.biCompression, static_cast<DWORD>(BI_RGB));
    const size_t xorBytes = 32 * 16;
    const size_t andBytes = 32 * 4;
    EXPECT_EQ(image.size, sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD) + xorBytes + andBytes);
    // The mask leaves some pixels transparent and covers the picture.
    int transparent = 0;
    for (size_t i = 0; i < andBytes && image.size >= sizeof(BITMAPINFOHEADER) + 64 + xorBytes + andBytes; ++i) {
      for (int bit = 0; bit < 8; ++bit) transparent += (dib.bits[xorBytes + i] >> bit) & 1;
    }
    EXPECT_GT(transparent, 50);
    EXPECT_LT(transparent, 32 * 32 - 300);
    HICON handle = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), static_cast<DWORD>(image.size), TRUE,
                                            0x00030000, 32, 32, 0);
    EXPECT_NE(handle, nullptr);
    if (handle) DestroyIcon(handle);
  }
}

// ---------------------------------------------------------------------------
// The templates as dialogs.

// A page's minimum.  Under Wine a picture control sizes its window, static
// edge included, to the bitmap and then stretches the bitmap into the client
// area, two pixels smaller; in the default stretch mode (BLACKONWHITE) the
// merged columns and rows are ANDed into false colours.  The control asks its
// parent for colours just before it paints, so the stretch mode is set there.
INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_CTLCOLORSTATIC) {
    SetStretchBltMode(reinterpret_cast<HDC>(wparam), COLORONCOLOR);
    return FALSE;  // the default colours
  }
  return message == WM_INITDIALOG;
}

// Paints a picture control into a memory bitmap (WM_PRINTCLIENT) and counts
// the pixels that are not a pixel of `dib` at or just below and right of the
// same place: the control fits the bitmap into its client area.
int PicturePixelsOff(HWND control, const Dib& dib) {
  RECT client;
  GetClientRect(control, &client);
  const int w = client.right;
  const int h = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, target);
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  GdiFlush();
  const int bw = dib.header.biWidth;
  const int bh = dib.header.biHeight;
  auto source = [&](int x, int y) {
    const RGBQUAD& q = dib.palette[dib.bits[static_cast<size_t>(bh - 1 - y) * dib.stride + x]];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
  };
  int off = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const DWORD p = static_cast<const DWORD*>(bits)[static_cast<size_t>(y) * w + x];
      const COLORREF got = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
      bool found = false;
      for (int dy = 0; dy <= 2 && !found; ++dy) {
        for (int dx = 0; dx <= 2 && !found; ++dx) {
          found = x + dx < bw && y + dy < bh && source(x + dx, y + dy) == got;
        }
      }
      off += found ? 0 : 1;
    }
  }
  SelectObject(memory, old);
  DeleteObject(target);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return off;
}

// A template rectangle in pixels, converted as the dialog manager does:
// position and size each on their own (not the right and bottom edges).
RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy) {
  RECT r{x, y, cx, cy};
  MapDialogRect(dialog, &r);
  return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
}

// With CORVANE_SCREENSHOT_DIR set, leaves the shown page on screen until the
// Unix side has taken its picture (see the top of this file).
void OfferScreenshot(int id) {
  const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR");
  if (!dir || !*dir) return;
  std::string base = machine::WinePath(std::string(dir) + "/" + std::to_string(id));
  (void)machine::WriteFile(base + ".ready", "");
  bool taken = ui::WaitUntil(
      [&] {
        ui::Pump();
        return machine::Exists(base + ".png");
      },
      20000, 100);
  if (!taken) ADD_FAILURE() << "no screenshot of page " << id << " within 20 s";
}

// Creates each dialog of the program from its template, as the program
// shows it, and hands it with its template to `check` before destroying it.
template <typename Check>
void ForEachDialogShown(HMODULE module, Check check) {
  for (int dialog : Dialogs(module)) {
    SCOPED_TRACE("dialog " + std::to_string(dialog));
    const Blob blob = Find(module, MAKEINTRESOURCEA(5), dialog);
    ASSERT_NE(blob.data, nullptr);
    HWND window =
        CreateDialogIndirectParamA(module, reinterpret_cast<LPCDLGTEMPLATEA>(blob.data), nullptr, PageProc, 0);
    ASSERT_NE(window, nullptr) << "error " << GetLastError();
    check(dialog, Parse(blob), window);
    DestroyWindow(window);
  }
}

bool ShowsAnImage(HWND control) {
  const LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
  return lstrcmpiA(ui::ClassName(control).c_str(), "Static") == 0 && (type == SS_BITMAP || type == SS_ICON);
}

// The caption and every text of the controls, each once, and nothing else.
TEST_F(Resources, DialogsShowTheirTexts) {
  const std::vector<Shown> shown = ShownTexts();
  ForEachDialogShown(module_, [&](int dialog, const Template&, HWND window) {
    const Shown* want = nullptr;
    for (const Shown& s : shown) want = s.dialog == dialog ? &s : want;
    ASSERT_NE(want, nullptr) << "a dialog whose texts nothing checks";
    EXPECT_TRUE(WindowText(window) == want->caption) << Narrow(WindowText(window));
    std::vector<std::wstring> texts;
    for (HWND child : ui::Children(window)) {
      if (!ShowsAnImage(child) && !WindowText(child).empty()) texts.push_back(WindowText(child));
    }
    auto take = [&](auto matches) {
      for (auto it = texts.begin(); it != texts.end(); ++it) {
        if (matches(*it)) {
          texts.erase(it);
          return true;
        }
      }
      return false;
    };
    for (const wchar_t* text : want->texts) {
      EXPECT_TRUE(take([&](const std::wstring& t) { return t == text; })) << "not shown: " << Narrow(text);
    }
    for (TextRule rule : want->described) {
      EXPECT_TRUE(take(rule)) << "no text fits a described text's rule";
    }
    for (const std::wstring& left : texts) ADD_FAILURE() << "a text nothing expects: " << Narrow(left);
  });
}

// The frame holds its template's size in dialog units, in 굴림; every control
// lies inside it, as the user sees it (pictures and icons take their image's
// size); pictures show their bitmap whole, at its own size, and icons their
// icon at the system's icon size.
TEST_F(Resources, EveryDialogShowsItsPicturesAndControlsWithinItsFrame) {
  ForEachDialogShown(module_, [&](int dialog, const Template& t, HWND window) {
    const RECT size = DialogUnits(window, 0, 0, t.cx, t.cy);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_TRUE(std::wstring(font.lfFaceName) == L"굴림") << Narrow(font.lfFaceName);

    // The controls in stacking order are the template's.
    const std::vector<HWND> children = ui::Children(window);
    ASSERT_EQ(children.size(), t.items.size());
    for (size_t i = 0; i < children.size(); ++i) {
      const HWND child = children[i];
      const Item& item = t.items[i];
      SCOPED_TRACE("control " + std::to_string(i));
      const RECT got = ui::RectIn(window, child);
      EXPECT_TRUE(got.left >= 0 && got.top >= 0 && got.right <= client.right && got.bottom <= client.bottom)
          << got.left << "," << got.top << " " << got.right << "," << got.bottom << " outside " << client.right
          << "x" << client.bottom;
      const LONG type = GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
      if (!ShowsAnImage(child)) continue;
      ASSERT_TRUE(item.text.ordinal) << "picture or icon named by text " << Narrow(item.text.text);
      if (type == SS_BITMAP) {
        // The control sizes its window to the bitmap, the static edge inside it.
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(bitmap, nullptr) << "no bitmap in the picture control";
        const Dib dib = ReadDib(Find(module_, MAKEINTRESOURCEA(2), item.text.id));
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, dib.header.biWidth);
        EXPECT_EQ(info.bmHeight, dib.header.biHeight);
        EXPECT_EQ(got.right - got.left, info.bmWidth);
        EXPECT_EQ(got.bottom - got.top, info.bmHeight);
        EXPECT_EQ(PicturePixelsOff(child, dib), 0) << "the control does not paint its bitmap";
      } else {
        // A 20 x 20 unit icon control takes the icon's own size, as SS_ICON
        // does without SS_REALSIZECONTROL.
        HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        ASSERT_NE(icon, nullptr) << "no icon in the icon control";
        RECT inside;
        GetClientRect(child, &inside);
        EXPECT_EQ(inside.right, GetSystemMetrics(SM_CXICON));
        EXPECT_EQ(inside.bottom, GetSystemMetrics(SM_CYICON));
      }
    }

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    ui::Pump();
    OfferScreenshot(dialog);
  });
}

}  // namespace
