// Reads back a PDF the printer wrote, with poppler's command-line tools (pdftotext, pdftoppm,
// pdffonts): the text of each page as laid out, every word with its box in points, the fonts
// used and a page as a picture.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

struct TPdfWord
{
    std::string text;
    int page = 0; // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double xMid() const { return (xMin + xMax) / 2; }
};

struct TPdfText
{
    bool ok = false;                  // the tools ran and the file was a PDF
    std::vector<std::string> pages;   // pdftotext -layout, one entry per page
    std::vector<TPdfWord> words;      // pdftotext -bbox
    double pageWidth = 0;             // points
    double pageHeight = 0;

    std::vector<TPdfWord> wordsOn(int page) const
    {
        std::vector<TPdfWord> on;
        for (const TPdfWord& word : words)
            if (word.page == page)
                on.push_back(word);
        return on;
    }
    const TPdfWord* find(const std::string& text, int page = 0) const
    {
        for (const TPdfWord& word : words)
            if (word.text == text && (page == 0 || word.page == page))
                return &word;
        return nullptr;
    }
};

inline QString runTool(const QString& program, const QStringList& arguments, bool* ok = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline TPdfText readPdfText(const std::string& file)
{
    TPdfText pdf;
    bool layoutOk = false;
    bool boxesOk = false;
    const QString name = QString::fromStdString(file);
    const QString layout = runTool("pdftotext", {"-layout", name, "-"}, &layoutOk);
    const QString boxes = runTool("pdftotext", {"-bbox", name, "-"}, &boxesOk);
    pdf.ok = layoutOk && boxesOk;
    QStringList pages = layout.split('\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    for (const QString& page : pages)
        pdf.pages.push_back(page.toStdString());
    static const QRegularExpression pageTag(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    // A box may start a little above or left of the page: pdftotext takes the font's ascent,
    // which can reach higher than the row's top where the glyphs are drawn.
    static const QRegularExpression wordTag(
        R"re(<page |<word xMin="(-?[\d.]+)" yMin="(-?[\d.]+)" xMax="(-?[\d.]+)" yMax="(-?[\d.]+)">([^<]*)</word>)re");
    if (const auto size = pageTag.match(boxes); size.hasMatch()) {
        pdf.pageWidth = size.captured(1).toDouble();
        pdf.pageHeight = size.captured(2).toDouble();
    }
    int page = 0;
    for (auto it = wordTag.globalMatch(boxes); it.hasNext();) {
        const auto match = it.next();
        if (match.captured(0) == "<page ") {
            ++page;
            continue;
        }
        TPdfWord word;
        word.page = page;
        word.xMin = match.captured(1).toDouble();
        word.yMin = match.captured(2).toDouble();
        word.xMax = match.captured(3).toDouble();
        word.yMax = match.captured(4).toDouble();
        // "&amp;" last, so that an escaped "&lt;" stays "&lt;".
        word.text = match.captured(5).replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"")
                        .replace("&apos;", "'").replace("&amp;", "&").toStdString();
        pdf.words.push_back(word);
    }
    return pdf;
}

// The fonts the PDF uses, as pdffonts lists them.
inline std::string pdfFonts(const std::string& file)
{
    return runTool("pdffonts", {QString::fromStdString(file)}).toStdString();
}

// Page page (from 1) rendered at dpi dots per inch; a null image when it cannot be made.
inline QImage pdfPageImage(const std::string& file, int page, int dpi, const std::string& folder)
{
    const QString prefix = QString::fromStdString(folder) + "page";
    runTool("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                         "-singlefile", "-png", QString::fromStdString(file), prefix});
    return QImage(prefix + ".png");
}
