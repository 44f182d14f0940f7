#pragma once
// The Print command's page: the child's picture between the printer's margins,
// under a title line, on the default printer.

#include "print/drucker.h"

#include <QFont>
#include <QImage>
#include <QString>

class ErrorFrame;

class PrintJob
{
public:
    // The margins of the default printer, measured the first time they are
    // asked for: at the first Print, so that the print system is loaded only
    // by a child who prints, and the margins are the printing printer's.
    const Drucker::Margins &margins();
    bool marginsMeasured() const { return m_measured; }
    void measureMargins() { margins(); }

    // Prints `picture` with the `title` line in `font`, as statements 160 to 210
    // of the caller's frame. The page is made up first and goes to the printer
    // only in the last statement, so leaving the command before it sends nothing.
    void print(ErrorFrame &f, const QImage &picture, const QString &title, const QFont &font);

private:
    Drucker::Margins m_margins;
    bool m_measured = false;
};
