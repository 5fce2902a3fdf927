#pragma once

#include <QString>
#include <QStringView>

// Reads a number as the start value, the step and the typed position are read: blanks, tabs
// and line feeds anywhere are ignored; then an optional sign and the longest run that still
// forms a number — decimal digits with one full stop (whatever the locale) and an exponent
// written E or D, or hexadecimal digits after &H, octal digits after &O. A text without a
// number at its start reads as 0; a number too large for a double reads as ±infinity.
double readNumber(QStringView text);

// The text of a running number: plain decimal with at most 15 significant digits, no padding,
// the locale's decimal separator, a minus sign for negatives. Values that 15 digits cannot
// write in plain decimal (from 1E+15 up, below 1E-04) use exponent notation: 1E+20, 1E-05.
QString numberText(double v);
