#pragma once

#include <QString>

// One point of a line graph: its value at an index, and the texts its hover box shows.
struct QLXDataInstance
{
    QString label;
    QString xlabel;
    QString ylabel;
    double xValue = 0.0;
    double yValue = 0.0;
};
