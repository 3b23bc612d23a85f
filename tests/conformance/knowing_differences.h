// Where our stand-in knowingly differs from Win32, or Wine from Win32's
// documentation, the one place that tells the checks so; platform/README.md
// ("Where it knowingly differs") says why.
#ifndef ZARN_CONFORMANCE_KNOWING_DIFFERENCES_H
#define ZARN_CONFORMANCE_KNOWING_DIFFERENCES_H

namespace conformance {

#ifdef _WIN32
constexpr bool standIn = false;
#else
constexpr bool standIn = true;
#endif

// A multi-line EDIT reads bare LF back as CR LF, so "a\nb" is 4 characters long.
constexpr int bareLineFeedTextLength = standIn ? 4 : 3;
// The row of tabs is 23 pixels high in the stand-in's font, 21 in Wine's.
constexpr int tabRowHeight = standIn ? 23 : 21;
// Messages nothing here needs are not sent (WM_GETMINMAXINFO, WM_NCCALCSIZE, ...),
// and application windows get no WM_PAINT.
constexpr bool sendsUnneededMessages = !standIn;
constexpr bool paintsThroughWmPaint = !standIn;
// The window menu lists at most nine documents and has no "More windows..." item.
constexpr int listedDocumentsOfTen = standIn ? 9 : 10;
// LB_SETITEMDATA with index -1 sets every item's data by Win32's documentation,
// which the stand-in follows; Wine 8 refuses it with LB_ERR.
constexpr bool minusOneSetsEveryItemData = standIn;

// FormatMessageA gives the words of Windows itself; Wine words them more briefly.
constexpr bool systemMessagesOfWindows = standIn;

}  // namespace conformance

#endif
