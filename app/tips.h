#pragma once
// The tips file and its lines, without the network or the window: a tips file is
// engine-code-page text, one tip per line, each line "TEXT@#$LINK".

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace app {

inline const QString kTipsFileName = QStringLiteral("tipsupd.dat");

// The lines of a tips file's bytes, decoded from the engine code page. CR LF, a lone CR
// and a lone LF each end a line; a break at the very end opens no further line, so
// empty bytes give no line and "\r\n" gives one empty line.
QStringList TipsLines(const QByteArray& file);

struct Tip {
  QString text;  // shown in the banner, followed by " >>", and as its hint
  QString link;  // opened by a click on the banner; may be empty
};

// Splits one line at its first "@#$": the text before it and the link after it. A line
// without the separator has an empty text and, as its link, the line from its third
// character on. Characters, not bytes, are counted, so a character is never cut.
Tip ParseTip(const QString& line);

// The banner's caption for a tip.
inline QString TipCaption(const Tip& tip) { return tip.text + QStringLiteral(" >>"); }

}  // namespace app
