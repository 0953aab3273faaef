// Printing of the editor control: the paper layout decides where each printed row goes, and
// the screen's row painter draws it on the printer in the printer's metrics. Pages are drawn
// as the layout reaches them, so a print holds one row at a time.
#include "editor/widget/SourceMemo.h"

#include "base/Exception.h"
#include "editor/edit/TabStops.h"
#include "editor/print/PageFrame.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace {

QRect toQRect(const TPrintRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// The editor font as the printer should draw it: the size it has on the screen, in printer
// units. A font given in pixels is taken at the screen's resolution.
QFont printerFont(const QFont& screenFont, double screenDpi, double printerDpi)
{
    QFont font = screenFont;
    const double points = screenFont.pixelSize() > 0 ? screenFont.pixelSize() * 72.0 / screenDpi
                                                     : screenFont.pointSizeF();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * printerDpi / 72.0))));
    return font;
}

} // namespace

// The control while a print runs: the printing flag set, the styles black on white with
// MonoPrint, the metrics of the printer. Ending (normally or by an error) clears the flag,
// puts the styles back and measures the screen again, re-flowing and repainting the view.
class TPrintingState
{
public:
    explicit TPrintingState(TSourceMemo& memo) : m_memo(memo), m_styles(memo.m_styles)
    {
        m_memo.m_printing = true;
        if (m_memo.MonoPrint) {
            for (TTokenStyle& style : m_memo.m_styles) {
                style.Foreground = Qt::black;
                style.Background = Qt::white;
            }
        }
    }
    ~TPrintingState()
    {
        m_memo.m_printing = false;
        m_memo.m_styles = m_styles;
        m_memo.rebuildMetrics();
    }
    TPrintingState(const TPrintingState&) = delete;
    TPrintingState& operator=(const TPrintingState&) = delete;

private:
    TSourceMemo& m_memo;
    std::array<TTokenStyle, 256> m_styles;
};

// The pages of one print on the printer's canvas: frames them (or lets OnPrintHeaderFooter do
// it) and paints each printed row through the control's row painter.
class TPrintCanvas : public TPrintSink
{
public:
    TPrintCanvas(TSourceMemo& memo, QPrinter& printer, QPainter& painter, const TPrintRect& area)
        : m_memo(memo), m_printer(printer), m_painter(painter), m_area(area),
          m_stamp(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat) + " - " +
                  QLocale().toString(QTime::currentTime(), QLocale::LongFormat))
    {
    }

    TPrintRect BeginPage(int page) override
    {
        if (page > 1 && !m_printer.newPage())
            throw EPrintError("The printer could not start page " + std::to_string(page));
        if (m_memo.OnPrintHeaderFooter) {
            QRect render = toQRect(m_area);
            bool transparent = false;
            m_painter.save();
            m_memo.OnPrintHeaderFooter(&m_memo, &m_painter, render, transparent);
            m_painter.restore();
            m_transparent = transparent;
            return {render.left(), render.top(), render.left() + render.width(), render.top() + render.height()};
        }
        const TPageFrame frame = PageFrameOf(m_area, m_memo.m_lineHeight, m_memo.Options());
        drawFrame(frame, page);
        return {m_area.Left, frame.TextTop, m_area.Right, frame.TextBottom};
    }

    void PrintRow(const TPrintedRow& row) override
    {
        const int height = m_memo.m_lineHeight;
        if (row.LineNumber > 0) {
            m_painter.save();
            m_painter.setClipRect(QRect(row.NumberLeft, row.Y, row.TextLeft - row.NumberLeft, height));
            m_painter.setFont(defaultFont());
            m_painter.setPen(Qt::black);
            m_painter.drawText(QPoint(row.NumberLeft, row.Y + m_memo.m_ascent),
                               QString::fromLatin1(LineNumberText(row.LineNumber).c_str()));
            m_painter.restore();
        }
        TSourceMemo::TRunPlacement place;
        place.Left = row.TextLeft;
        place.Clip = QRect(row.TextLeft, row.Y, std::max(row.Right - row.TextLeft, 0), height);
        place.Transparent = m_transparent;
        m_memo.paintRuns(m_painter, *row.Row, row.First, row.Count, row.RowStart + row.First, row.Y, place);
    }

private:
    const QFont& defaultFont() const { return m_memo.m_styleFonts[m_memo.m_faceOfToken[0] & 7]; }

    void drawFrame(const TPageFrame& frame, int page)
    {
        if (!frame.BlackOnWhite)
            return;
        m_painter.save();
        m_painter.setFont(defaultFont());
        m_painter.setPen(Qt::black);
        m_painter.setBackgroundMode(Qt::TransparentMode);
        const int rule = std::max(1, m_memo.m_lineHeight / 16);
        if (frame.Title)
            m_painter.drawText(toQRect(frame.HeaderLine), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                               localToQString(m_memo.Title()));
        if (frame.Date)
            m_painter.drawText(toQRect(frame.HeaderLine), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                               m_stamp);
        if (frame.HeaderRuleY >= 0)
            m_painter.fillRect(QRect(m_area.Left, frame.HeaderRuleY, m_area.Width(), rule), Qt::black);
        if (frame.PageNumber) {
            m_painter.drawText(toQRect(frame.FooterLine), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                               QString::fromLatin1(PageNumberText(page).c_str()));
            m_painter.fillRect(QRect(m_area.Left, frame.FooterRuleY, m_area.Width(), rule), Qt::black);
        }
        m_painter.restore();
    }

    TSourceMemo& m_memo;
    QPrinter& m_printer;
    QPainter& m_painter;
    TPrintRect m_area;
    QString m_stamp; // the moment of printing, the same on every page
    bool m_transparent = false;
};

void TSourceMemo::SetPrintArea(const TPrintRect& area)
{
    m_printArea = area;
    m_hasPrintArea = true;
}

void TSourceMemo::Print()
{
    printLines(DocumentLines(*m_store));
}

void TSourceMemo::PrintSelection()
{
    const TSelectionPair selection = m_editor->Selection();
    printLines(SelectionLines(*m_store, selection.Anchor, selection.Caret));
}

void TSourceMemo::PrintSelectionCommand()
{
    if (OnPrintSelectionCommand) {
        OnPrintSelectionCommand(this);
        return;
    }
    try {
        PrintSelection();
    } catch (const Exception& error) {
        messageBoxes().show(TMessageKind::Error, "Print", error.Message(), TMessageButtons::Ok);
    }
}

void TSourceMemo::printLines(const TPrintLines& lines)
{
    if (!m_printer)
        throw EPrintError("No printer is chosen");
    if (lines.Last >= lines.First) {
        // The rows on paper carry their colours even when they were never shown.
        const int64_t start = m_store->LineStart(lines.First).Start;
        const TRowSpot after = m_store->LineStart(lines.Last + 1);
        HighlightRange(start, lines.Last + 1 < m_store->LineCount() ? after.Start : m_store->CharCount());
    }
    flushReflow();
    TPrintingState printing(*this);
    m_printer->setDocName(localToQString(m_title));
    m_printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(m_printer)) {
        const QString target = m_printer->outputFileName().isEmpty() ? m_printer->printerName()
                                                                     : m_printer->outputFileName();
        throw EPrintError("Printing could not start on \"" + qStringToLocal(target) + "\"");
    }
    measureFonts(printerFont(m_font, logicalDpiY(), m_printer->logicalDpiY()));
    const QRect page = m_printer->pageLayout().fullRectPixels(m_printer->resolution());
    const TPrintRect area = m_hasPrintArea ? m_printArea : TPrintRect{0, 0, page.width(), page.height()};
    TPrintCanvas canvas(*this, *m_printer, painter, area);
    const TPrintSettings settings{Options(), m_charWidth, m_lineHeight};
    PrintLines(*m_store, lines, settings, TTabStops(m_editor->Settings), canvas);
    if (!painter.end())
        throw EPrintError("The printer could not finish the print");
}
