#pragma once

#include <cstdint>

// Style bits of ExtMessageBox; the low parts are those of the system message box.
constexpr std::uint32_t MB_TYPEMASK = 0x0000000F;
constexpr std::uint32_t MB_ICONMASK = 0x000000F0;
constexpr std::uint32_t MB_DEFMASK = 0x00000F00;
constexpr std::uint32_t MB_ICONHAND = 0x00000010;
constexpr std::uint32_t MB_ICONQUESTION = 0x00000020;
constexpr std::uint32_t MB_ICONEXCLAMATION = 0x00000030;
constexpr std::uint32_t MB_ICONASTERISK = 0x00000040;
constexpr std::uint32_t MB_SYSTEMMODAL = 0x00001000;
constexpr std::uint32_t MB_HELP = 0x00004000;
constexpr std::uint32_t MB_SETFOREGROUND = 0x00010000;
constexpr std::uint32_t MB_TOPMOST = 0x00040000;
constexpr std::uint32_t MB_DONOTASKAGAIN = 0x01000000;
constexpr std::uint32_t MB_DONOTTELLAGAIN = 0x02000000;
constexpr std::uint32_t MB_DONOTSHOWAGAIN = 0x04000000;
constexpr std::uint32_t MB_YESTOALL = 0x08000000;
constexpr std::uint32_t MB_NOTOALL = 0x10000000;
constexpr std::uint32_t MB_NORESOURCE = 0x20000000;
constexpr std::uint32_t MB_NOSOUND = 0x40000000;

// Button sets (style & MB_TYPEMASK).
constexpr std::uint32_t MB_OK = 0;
constexpr std::uint32_t MB_OKCANCEL = 1;
constexpr std::uint32_t MB_ABORTRETRYIGNORE = 2;
constexpr std::uint32_t MB_YESNOCANCEL = 3;
constexpr std::uint32_t MB_YESNO = 4;
constexpr std::uint32_t MB_RETRYCANCEL = 5;
constexpr std::uint32_t MB_CANCELTRYCONTINUE = 6;
constexpr std::uint32_t MB_CONTINUEABORT = 7;
constexpr std::uint32_t MB_SKIPSKIPALLCANCEL = 8;
constexpr std::uint32_t MB_IGNOREIGNOREALLCANCEL = 9;

// Options of EXTMSGBOXPARAMS.
constexpr std::uint32_t EMB_OPT_BUTTONS_RIGHT = 0x1;
constexpr std::uint32_t EMB_OPT_WIN6_LOOK = 0x2;
constexpr std::uint32_t EMB_OPT_NARROW = 0x4;

// Control ids, which are also the results of the box.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDCLOSE = 8;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;
constexpr int IDSKIP = 14;
constexpr int IDSKIPALL = 15;
constexpr int IDIGNOREALL = 16;
constexpr int IDYESTOALL = 19;
constexpr int IDNOTOALL = 20;
constexpr int IDCUSTOM1 = 23;
constexpr int IDCUSTOM4 = 26;
constexpr int IDHELP = 300;
constexpr int IDREPORT = 301;
constexpr int IDC_MSGBOX_ICON = 1000;
constexpr int IDC_MSGBOX_MESSAGE = 1001;
constexpr int IDC_MSGBOX_CHECKBOX = 5555;

// Added to the id of the default button when the countdown pressed it.
constexpr std::uint32_t EMB_TIMEOUT_FLAG = 0x80000000u;

// The 19 button caption slots, in slot order.
enum EMsgBoxSlot : int {
    SlotAbort,
    SlotCancel,
    SlotContinue,
    SlotDontAskAgain,
    SlotDontTellAgain,
    SlotDontShowAgain,
    SlotHelp,
    SlotIgnore,
    SlotIgnoreAll,
    SlotNo,
    SlotNoToAll,
    SlotOK,
    SlotReport,
    SlotRetry,
    SlotSkip,
    SlotSkipAll,
    SlotTryAgain,
    SlotYes,
    SlotYesToAll,
    SLOT_COUNT
};

// Room of one caption slot, terminator included.
constexpr int MSGBOX_SLOT_CHARS = 100;
