#pragma once

#include <QString>

double readNumber(QStringView text);
QString numberText(double v);
