// What the user of SETUP.EXE reads: captions, button labels and messages, as
// the code page 949 bytes the program must show (the tree compiles string
// literals to code page 949).
#pragma once
#include "install/run_lock.h"

namespace texts {

// Window classes and titles of the setup shell.
inline constexpr const char* kBackdropClass = kSetupWindowClass;
inline constexpr const char* kBackdropTitle = kSetupWindowTitle;
inline constexpr char kLogoClass[] = "CvLogo";
inline constexpr char kBarClass[] = "CvProBar";

// Page captions.
inline constexpr char kWelcome[] = "환영합니다.";
inline constexpr char kAgreement[] = "사용시 주의사항";
inline constexpr char kUserInfo[] = "사용자 정보";
inline constexpr char kScanChoice[] = "바이러스 검사";
inline constexpr char kScan[] = "바이러스 검사";
inline constexpr char kFolder[] = "설치 폴더 선정";
inline constexpr char kConfirm[] = "설치 목록 확인";
inline constexpr char kCopy[] = "코르바네™ 설치";
inline constexpr char kTasks[] = "설치 후 작업 내용";
inline constexpr char kFinish[] = "설치 완료";
inline constexpr char kPreparing[] = "Setup";

// Button labels.
inline constexpr char kNext[] = "다음 >";
inline constexpr char kCancel[] = "취소";
inline constexpr char kBack[] = "< 뒤로";
inline constexpr char kYes[] = "예";
inline constexpr char kNo[] = "아니오";
inline constexpr char kBrowse[] = "찾기";
inline constexpr char kFinishButton[] = "설치 완료";

// Control texts checked on the way.
inline constexpr char kScanFirst[] = "바이러스를 검사 후 설치합니다.";
inline constexpr char kScanSkip[] = "바이러스 검사를 하지 않습니다.";
inline constexpr char kScanDone[] = "바이러스 검사 완료";
inline constexpr char kNoVirus[] = "바이러스 없음";
inline constexpr char kDefaultFolder[] = "C:\\Program Files\\Corvane";
inline constexpr char kFinishLine[] = "코르바네™이 정상적으로 설치되었습니다.";
inline constexpr char kProductName[] = "코르바네™";
inline constexpr char kTaskSafeBoot[] = "Win95/98의 안전 부팅이 가능하도록 합니다.";
inline constexpr char kTaskRescueDisk[] = "복구 디스크를 생성합니다.";
inline constexpr char kTaskUpdate[] = "업데이트 마법사를 수행합니다.";
inline constexpr char kTaskScheduled[] = "예약 검사를 수행합니다.";
inline constexpr char kTaskRunProduct[] = "코르바네™을 수행합니다.";

// Message boxes: titles and texts.
inline constexpr char kQuitTitle[] = "설치 종료";
inline constexpr char kQuitText[] = "코르바네™의 설치를 종료하시겠습니까?";
inline constexpr char kScanQuitText[] =
    "바이러스 검사를 취소하시겠습니까?\n바이러스 검사를 취소하시면 설치를 종료합니다.";
inline constexpr char kErrorTitle[] = "설치 오류";
inline constexpr char kVirusFoundTitle[] = "바이러스 발견";
inline constexpr char kMissingFilesText[] = "설치에 필요한 파일이 존재하지 않습니다.";
inline constexpr char kInstalledText[] =
    "(구)코르바네™이 이미 설치되어 있습니다.\n다시 설치하시려면 코르바네™을 제거한 후에 하여주십시오.";
// Formatted with the file name that InitInstall could not make.
inline constexpr char kCopyFailedFormat[] = "%s 파일을 생성할 수 없습니다.\n설치를 종료하겠습니다.";

// What shell registration leaves behind.
inline constexpr char kGroupName[] = "코르바네™ for Win9X";
inline constexpr char kMainLink[] = "코르바네.LNK";
inline constexpr char kStartupFolder[] = "시작프로그램";
inline constexpr char kScheduleLink[] = "예약검사.LNK";
inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\코르바네™ for Win95/98";
inline constexpr char kUninstallName[] = "코르바네™ for Win95/98";

}  // namespace texts
