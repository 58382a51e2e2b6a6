#pragma once

#include <QString>

// The text rules of the closure-time boxes, apart from the widgets so that
// they can be checked on their own. Every text ends as a value inside the
// slider's range: bad text is cleaned, never refused.
namespace ClosureTimeText {

// The number a text begins with, without its sign; 0 when the text does not
// begin with one. A number beyond the range of a double reads as infinity, so
// the range checks below turn it into the largest value allowed.
double leadingNumber(const QString &text);

// Rounds to the nearest whole number, a half going to the even neighbour.
qint64 roundHalfEven(double number);

// The slider value for an hours or minutes text.
int wholeUnitValue(const QString &text, int maximum);

// The seconds slider counts hundredths: the slider value for a seconds text.
int hundredthsValue(const QString &text, int maximum);

// Whole seconds, ".", and the hundredths as two digits: 507 gives "5.07".
QString secondsText(int hundredths);

} // namespace ClosureTimeText
