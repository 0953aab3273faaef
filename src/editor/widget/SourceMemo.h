// TSourceMemo, the editor control: a Qt widget that shows one text store and edits it through
// the editing core. It paints only the visible rows (the store's index finds the first one),
// expands TABs for display, draws the gutter with line numbers, the margin, the selection and
// the caret, maps key events through the key map and mouse events onto positions.
// Invariants: m_store is never null (the control creates a store of its own and always holds
// the one it shows); 0 <= m_topRow < max(RowCount, 1); 0 <= m_leftCol <= LongestRow.
#pragma once

#include "editor/edit/EditorHost.h"
#include "editor/edit/SourceEditor.h"
#include "editor/search/EditorSearch.h"
#include "editor/keys/KeyDownHandler.h"
#include "editor/keys/KeyboardActionController.h"
#include "editor/marks/KeyExpansion.h"
#include "editor/marks/MarkEvents.h"
#include "editor/print/PrintArea.h"
#include "editor/print/PrintPager.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/StoreHooks.h"
#include "editor/text/TextStore.h"
#include "editor/view/DisplayLine.h"
#include "editor/view/Reflow.h"
#include "highlight/runtime/ParserEditor.h"
#include "platform/QtColors.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QPointF>
#include <QPointer>
#include <QRawFont>
#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class QListWidget;
class QPrinter;
class QTimer;
class TClipboard;
class TCustomBookmarks;
class TMarkList;
class TSM_Breakpoints;
class TSM_CodeBreak;
struct TBreakpointStyle;
class TSourceMemoFindDialog;
class THighlightPass;
class TSourceMemoParser;
class TSM_Settings;
class TStyleSource;

// A row about to be painted, for a host that paints rows itself (OnDrawLine).
struct TLineDrawData
{
    std::string_view Text; // the row's bytes, its line break excluded
    QPainter* Canvas = nullptr;
    QRect Rect;            // the row's text area
    int64_t RowStart = 0;  // offset of the row's first character
    int64_t FirstColumn = 0;
    int Length = 0;
    bool Handled = false;  // set by a handler that painted the row
};

// How one token byte is painted.
struct TTokenStyle
{
    QColor Foreground = Qt::black;
    QColor Background = Qt::white;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool HotSpot = false; // a hyperlink token
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBorderStyle { bsNone, bsSingle };
enum TFlatScrollBarStyle { fssEncarta, fssFLAT, fssREGULAR };
// Pages of the properties dialog.
enum TPropEdPage : uint8_t
{
    ppOPTIONS = 1,
    ppHIGHLIGHTING = 2,
    ppKEYS = 4,
    ppAUTOCORRECT = 8,
    ppTEMPLATES = 16,
};

class TSourceMemo : public QAbstractScrollArea,
                    public TStoreView,
                    public TEditorHost,
                    public TParserEditor,
                    public TMarkEvents,
                    public TExpansionHost
{
    Q_OBJECT
public:
    static constexpr int DefaultGutter = 34;

    explicit TSourceMemo(QWidget* parent = nullptr);
    ~TSourceMemo() override;

    // The store shown. Exchanging stores changes the document shown without copying text or
    // changing either store: the control takes the given store and hands back the one it
    // showed (a null store is replaced by a new empty one).
    TTextStore& Store() const { return *m_store; }
    std::unique_ptr<TTextStore> ExchangeStore(std::unique_ptr<TTextStore> store);
    // The title of the document, used as the HTML and print title; with smoTitleAsFilename
    // it follows the file last loaded or saved.
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    const QFont& EditorFont() const { return m_font; }
    TSourceEditor& Editor() { return *m_editor; }
    const TSourceEditor& Editor() const { return *m_editor; }

    // Loads a file into the shown store; EFOpenError when it cannot be read.
    void LoadFromFile(const std::string& fileName);

    // Layout properties. Gutter accepts 0, or 34 and more while not wider than a fifth of the
    // client width; Margin accepts values up to one character width. Others are ignored.
    int Gutter() const { return m_gutter; }
    void SetGutter(int pixels);
    int Margin() const { return m_margin; }
    void SetMargin(int pixels);
    int RightMargin() const { return m_rightMargin; }
    bool ShowFocusLine() const { return m_showFocusLine; }
    void SetShowFocusLine(bool show) { m_showFocusLine = show; viewport()->update(); }
    // The column word wrap breaks at (0: the window edge); its line is drawn with
    // smoShowWrapColumn while word wrap is on. 16 bits wide.
    int WrapAtColumn() const { return m_wrapAtColumn; }
    void SetWrapAtColumn(int column);
    // With smoWrapOverride, lines starting with one of these characters are not word-wrapped.
    const std::string& WrapOverride() const { return m_wrapOverride; }
    void SetWrapOverride(const std::string& characters);
    // Replaces the break-after-blanks rule of word wrap when assigned.
    TWordBreakProc OnWordBreakProc;
    // Word wrap: cuts the lines holding rows firstRow..lastRow (firstRow below 0: the whole
    // document) into rows that fit, or joins them back when word wrap is off. The view keeps
    // the character at its top in place.
    void ReflowRows(int64_t firstRow, int64_t lastRow);
    // The tab stops changed: TABs take new widths, so wrapped lines are cut again.
    void TabStopsChanged();
    void SetRightMargin(int column);
    uint32_t Options() const { return m_editor->Settings.Options; }
    void SetOptions(uint32_t options);
    bool ReadOnly() const { return m_editor->Settings.ReadOnly; }
    void SetReadOnly(bool readOnly);
    void SetEditorFont(const QFont& font);
    // Re-applies font and settings: metrics, re-flow with word wrap, highlighting, repaint.
    void ApplySettings();
    // The line-number font; setting it also stores its name, size and style in the active
    // settings, so the language keeps it.
    const QFont& GutterFont() const { return m_gutterFont; }
    void SetGutterFont(const QFont& font);
    // Colours as COLORREF values (0x00BBGGRR, or 0x80000000 plus a system colour index).
    void SetColors(int32_t gutter, int32_t margin, int32_t selText, int32_t selBack);
    // Tab stop columns (0-based, ascending), the default tab width and the block indent step
    // (1 to 19; others are ignored).
    void SetTabColumns(const std::vector<int>& columns);
    void SetTabDefault(int width);
    void SetIndentStep(int step);
    // The settings object the properties above live in: the active parser's when one is
    // attached, else the control's own. Attaching or activating a parser, and ApplySettings,
    // take the control's working values from it.
    TSM_Settings& ActiveSettings();
    const TSM_Settings& ActiveSettings() const;
    // The style of each token byte; token 0 is the default style.
    void SetTokenStyles(const std::array<TTokenStyle, 256>& styles);

    // Geometry.
    int TextLeft() const;
    int CharWidth() const { return m_charWidth; }
    int LineHeight() const { return m_lineHeight; }
    int64_t LeftCol() const { return m_leftCol; }
    // Scrolls horizontally; clamped to the longest row, and to 0 with word wrap on.
    void SetLeftCol(int64_t column);

    // Painting is off while the paint lock holds or redrawing is switched off; lifting either
    // (when the other does not hold) repaints everything. Scroll bars wait while it is off.
    bool PaintLocked() const { return m_paintLock; }
    void SetPaintLock(bool locked);
    bool RedrawOn() const { return !m_redrawOff; }
    void SetRedraw(bool on);
    bool PaintingOff() const { return m_paintLock || m_redrawOff; }
    // While set, property changes do not ask for a repaint; the next paint shows them.
    void SetRepaintSuppressed(bool suppressed) { m_repaintSuppressed = suppressed; }
    bool RepaintSuppressed() const { return m_repaintSuppressed; }
    // The default style of the active settings: colours (COLORREF) and font style bits.
    int32_t DefTextColor() const;
    int32_t DefBackColor() const;
    uint8_t DefFontStyle() const;
    void SetDefaultStyle(int32_t textColor, int32_t backColor, uint8_t fontStyle);
    // With HideSelection the selection is not shown while the control has no focus.
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool hide);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle bars);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    // Kept for printing (MonoPrint), the properties dialog (VisiblePropEdPages) and the look of
    // the scroll bars; Qt's scroll bars are drawn by the style whatever FlatScrollBars says.
    bool MonoPrint = true;
    uint8_t VisiblePropEdPages = ppOPTIONS | ppHIGHLIGHTING | ppKEYS | ppAUTOCORRECT | ppTEMPLATES;
    bool FlatScrollBars = false;
    TFlatScrollBarStyle FlatScrollBarStyle = fssFLAT;
    // The pointer over a hyperlink token (a style with the hot-spot flag).
    Qt::CursorShape HyperCursor = Qt::ArrowCursor;
    // Whether TAB is typed into the control (else it moves the focus on).
    bool WantTab() const { return m_wantTab; }
    void SetWantTab(bool want) { m_wantTab = want; }
    // The client point of an offset's top-left corner, and the offset under a client point
    // (-1 outside the text area).
    QPoint PosFromChar(int64_t offset) const;
    int64_t CharFromPos(QPoint point) const;

    // Highlighters: up to six parsers, one of them active. The active parser colours the text
    // (with smoSyntaxHighlight) and supplies the styles of its tokens. The control never owns a
    // parser; a parser that goes away tells the control first.
    static constexpr int ParserSlots = 6;
    TSourceMemoParser* Parser(int slot) const;
    void SetParser(int slot, TSourceMemoParser* parser);
    int ActiveParser() const { return m_activeParser; }
    void SetActiveParser(int slot);
    TSourceMemoParser* ActiveParserObject() const { return Parser(m_activeParser); }
    // Brings the token bytes of the rows holding the characters [start, end) up to date, rows
    // never shown included (an export is about to write them in their styles).
    void HighlightRange(int64_t start, int64_t end);
    // The row where the next highlighting pass starts, -1 for none. Setting clamps the row to
    // the document; a negative row means none.
    int64_t ReparseFrom() const { return m_pendingRow; }
    void SetReparseFrom(int64_t row);

    // Events the host assigns.
    std::function<void(TSourceMemo*)> OnChange;
    std::function<void(TSourceMemo*, int64_t start, int64_t extent)> OnTextChange;
    std::function<void(TSourceMemo*, int64_t lineNo)> OnGutterClick;
    std::function<void(TSourceMemo*, int32_t& actionCode)> OnCommandRecognised;
    // Files dropped from the desktop, with the drop point in client coordinates; raised only
    // with smoProcessDroppedFiles.
    std::function<void(TSourceMemo*, const QStringList& fileNames, QPoint at)> OnFilesDropped;
    // Data is about to be pasted or dropped; the handler may change the source flags (ds*).
    std::function<void(TSourceMemo*, uint32_t& sourceFlags)> OnDataDrop;
    // A row is about to be painted; a handler that paints it sets Handled.
    std::function<int(TSourceMemo*, TLineDrawData& line)> OnDrawLine;
    // Hyperlink tokens: Ctrl with a left press on one (its text and token), and the pointer
    // arriving over one.
    std::function<void(TSourceMemo*, const std::string& hyperData, int hyperType)> OnHyperlinkClick;
    std::function<void(TSourceMemo*)> OnHyperlinkHover;
    // The highlighting pass produced a token over [start, end); the handler may change it.
    // A pass is framed by token -1 (positions -1) before it and token -2 after it.
    std::function<void(TSourceMemo*, int& token, int64_t end, int64_t start)> OnTokenSeen;

    // Mouse: dragging text, dropping, dragging the right-margin line.
    // A third quick press on the same row; raised instead of selecting the row when assigned.
    std::function<void(TSourceMemo*, QPoint clickPos, int64_t charOffset)> OnTripleClick;
    // A drag of data moves over the control (or drops there): effect holds what the control
    // would do (Qt::IgnoreAction when it refuses) and the handler may change it.
    std::function<void(TSourceMemo*, const class QMimeData* data, QPoint at,
                       Qt::DropAction& effect)>
        OnOLEDragOver;
    // Runs a drag the control starts and answers the action it ended in. QDrag::exec unless
    // replaced; tests replace it because they cannot drive the nested loop of a real drag.
    using TDragExecutor = std::function<Qt::DropAction(class QDrag& drag, Qt::DropActions allowed)>;
    void setDragExecutor(TDragExecutor executor) { m_dragExecutor = std::move(executor); }
    // The offset a drag over the control would drop at (-1: none shown), and the x of the
    // right-margin line while it is dragged (-1: not dragged).
    int64_t dropCaretOffset() const { return m_dropOffset; }
    int marginDragX() const { return m_marginDragX; }

    // TStoreView and TEditorHost.
    int64_t TopRow() const override { return m_topRow; }
    void SetTopRow(int64_t row) override;
    int64_t VisibleRows() const override;
    void RowsChanged(const TRowChange& change) override;
    void DocumentCleared() override;
    void DocumentLoaded() override;
    void FileNameUsed(const std::string& fileName) override;
    void ScrollCaretIntoView() override;
    void CaretShapeChanged() override;
    void Rehighlight() override;
    void DropPendingRehighlight() override { m_pendingRow = -1; }
    void ParserChanged(TCustomSourceMemoParser& parser) override;
    void ParserDestroyed(TCustomSourceMemoParser& parser) override;
    void Beep() override;
    void Changed(uint32_t changeFlags) override;
    void PrintSelectionCommand() override;

    // Bookmarks 0 to 9 (others: ESourceMemo "Bookmark index range error"). SetBookmark marks
    // row (an index; -1: the caret's row, at the caret's column) with the 1-based column (at
    // least 1), or clears the bookmark when it already marks that row (with word wrap, that
    // line); commands 20 to 29 set at the caret. GotoBookmark puts the caret at the column (at
    // most the row's end) and the row in the middle of the view; commands 30 to 39 run it.
    // GetBookmark answers the 1-based row and the column, false when the bookmark is not set.
    void SetBookmark(int number, int64_t row, int column);
    void SetBookmark(int number) override { SetBookmark(number, -1, 0); }
    void GotoBookmark(int number) override;
    bool GetBookmark(int number, int64_t& line, int& column);
    // The document's other annotations, made on first use; they live in the store shown and
    // go with it when stores are exchanged.
    TMarkList& Marks();
    TSM_Breakpoints& Breakpoints();
    TSM_CodeBreak& CodeBreak();
    TCustomBookmarks& CustomBookmarks();
    // The active settings' code templates and auto-correct entries; changes made here are
    // written back to the settings.
    TCodeTemplates& CodeTemplates() { return m_expansion->Templates(); }
    TAutoReplace& AutoReplace() { return m_expansion->AutoReplace(); }
    // The template pick list while it is shown, else null.
    QListWidget* TemplatePickList() const;

    // Events of the annotations and expansions.
    std::function<void(TSourceMemo*, TEdStream& stream, const std::string& replaceItem, std::string& replaceWith,
                       bool& canReplace)>
        OnAutoReplace;
    std::function<void(TSourceMemo*, const std::string& templateName, std::string& replacement)> OnTemplateEvent;
    std::function<void(TSourceMemo*, int index)> OnBookmarkSet;
    std::function<void(TSourceMemo*, int index)> OnBookmarkClear;
    std::function<void(TSourceMemo*, const std::string& name)> OnCustomBookmarkFree;
    std::function<void(TSourceMemo*, TSM_BreakpointData& breakpoint)> OnBreakpointFree;
    std::function<void(TSourceMemo*, TSM_BreakpointData& breakpoint)> OnBreakpointStateChange;
    // Assigning OnMarkChange makes every edit report each mark it moves.
    std::function<void(TSourceMemo*, TMark& mark)> OnMarkChange;
    std::function<void(TSourceMemo*, TMark& mark)> OnMarkFree;
    // Painting calls it for each mark on each row painted, with the mark's part of that row.
    std::function<void(TSourceMemo*, QPainter* canvas, QRect rect, TMark& mark)> OnDrawMark;

    // TMarkEvents and TExpansionHost.
    bool WantsMarkChanges() const override { return static_cast<bool>(OnMarkChange); }
    void MarkChanged(TMark& mark) override;
    void MarkFreed(TMark& mark) override;
    void CustomBookmarkFreed(const std::string& name) override;
    void BreakpointFreed(TSM_BreakpointData& breakpoint) override;
    void BreakpointStateChanged(TSM_BreakpointData& breakpoint) override;
    void MarksChanged(int64_t from, int64_t to) override;
    void TemplateFired(const std::string& name, std::string& replacement) override;
    void AutoReplaceFired(TEdStream& stream, const std::string& item, std::string& replaceWith,
                          bool& canReplace) override;
    void ShowTemplateList(const std::string& word) override;

    // Search (SourceMemoSearch.cpp). Flags are the sr* bits. Without srDirect FindText shows
    // the control's own find dialog; with it, it searches from the caret and selects the match.
    // A regular expression that does not compile shows its error with a caret under the fault.
    bool FindText(const std::string& text, uint16_t flags, int64_t& position);
    // Selects the next match and gives the text to put in its place (srReplaceAll: replaces
    // every match, without repainting until done, as one undo step).
    bool FindReplace(const std::string& findText, const std::string& replacement, uint16_t flags,
                     std::string& newText, int64_t& position);
    TEditorSearch& Search() { return *m_search; }
    // The control's find dialog, once it was shown; null before.
    TSourceMemoFindDialog* FindDialog() const { return m_findDialog; }
    // A search from the control's find dialog found nothing; without a handler a message box
    // says "Search string "..." not found.".
    std::function<void(TSourceMemo*, const std::string& searchString)> OnSearchFail;
    // Shows a regular expression's compile error (the text with its caret line): a dialog of
    // the control unless replaced, as tests do.
    using TRegExpErrorPresenter = std::function<void(TSourceMemo& memo, const std::string& text)>;
    void setRegExpErrorPresenter(TRegExpErrorPresenter presenter) { m_regExpErrorPresenter = std::move(presenter); }

    // Printing (SourceMemoPrint.cpp). Prints go to the printer the host gives (not owned), in
    // the print area last given in its device units, or on the whole page before any. Print
    // prints the document, PrintSelection the lines of the selection (not a last line the
    // selection ends at the start of). While a print runs Printing() is true and the metrics
    // are the printer's; both come back when it ends, also when it fails. A failure (no
    // printer, a printer that cannot start or take a page) throws EPrintError after that.
    void SetPrinter(QPrinter* printer) { m_printer = printer; }
    QPrinter* Printer() const { return m_printer; }
    void SetPrintArea(const TPrintRect& area);
    bool HasPrintArea() const { return m_hasPrintArea; }
    const TPrintRect& PrintArea() const { return m_printArea; }
    void Print();
    void PrintSelection();
    bool Printing() const { return m_printing; }
    // Replaces the header and footer of every page: called with the print area, it may draw on
    // the canvas and answers the text area in renderRect; transparentText draws text without
    // background.
    std::function<void(TSourceMemo*, QPainter* canvas, QRect& renderRect, bool& transparentText)>
        OnPrintHeaderFooter;
    // Key command 44 ("Print selection") calls this when assigned, so the host can choose the
    // printer and area first; otherwise the control prints the selection itself and shows a
    // failure in an error box.
    std::function<void(TSourceMemo*)> OnPrintSelectionCommand;

    // Rows painted by the last paint event (tests and benchmarks watch repaint cost).
    int64_t RowsPaintedLastTime() const { return m_rowsPainted; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rebuildMetrics();
    // Measures font for the device it is drawn on (its pixel size in that device's units): line
    // height, ascent, character width, the style faces and their glyphs and advances.
    void measureFonts(const QFont& font);
    void updateScrollBars();
    void attachEditor();
    void detachStore();
    void textChanged(int64_t position, int64_t length);
    int64_t rowAtY(int y) const;
    int64_t offsetInRow(const TRowSpot& spot, int x) const;
    // lineNumber: the 1-based number of the line the row belongs to.
    void paintRow(QPainter& painter, const TRowSpot& spot, int y, int64_t lineNumber);
    void paintGutter(QPainter& painter, const TRowSpot& spot, int y, int64_t lineNumber);
    // Where a row's characters go: Left is the device x of the first one laid out, Clip the part
    // of the device they may paint; offsets in [SelStart, SelEnd) are shown selected.
    struct TRunPlacement
    {
        double Left = 0;
        QRect Clip;
        int64_t SelStart = 0;
        int64_t SelEnd = 0;
        bool ShowMarks = false;   // blanks, TABs and line ends marked (smoShowAllChars)
        bool Transparent = false; // text is drawn without its background
    };
    void paintRuns(QPainter& painter, const TTextRow& row, int first, int count, int64_t start, int y,
                   const TRunPlacement& place);
    void paintCaret(QPainter& painter);
    // Lays a row out as it is shown: TABs expanded, tokens as shown, every column edge placed
    // in the faces of its tokens. Screen x = TextLeft() + line x - the scrolled-away width.
    void layoutRow(TDisplayLine& line, const TTextRow& row) const;
    // The same for characters [first, first + count) of a row, laid out as a line of their own.
    void layoutText(TDisplayLine& line, const TTextRow& row, int first, int count) const;
    double scrolledWidth() const { return static_cast<double>(m_leftCol) * m_charWidth; }
    // Draws the characters of columns [first, end) of m_line in one face, each glyph at its
    // placed x; x is where column first starts on screen.
    void drawGlyphs(QPainter& painter, int face, int first, int end, double x, int baseline, bool underline);
    void setStyles(const std::array<TTokenStyle, 256>& styles);
    void paintBlankMarks(QPainter& painter, const char* text, double left, int first, int end, int y,
                         QColor background);
    // Annotations (SourceMemoMarks.cpp): the breakpoint look of a row, gutter images, marks.
    bool breakpointStyleOf(const TRowSpot& spot, TBreakpointStyle& style) const;
    void paintGutterImage(QPainter& painter, QRect cell, int image) const;
    void paintMarks(QPainter& painter, const TRowSpot& spot, int y);
    // Points the store's annotations at this control, or (attach false) no longer.
    void attachMarks(TTextStore& store, bool attach);
    void applyTemplates(const TSM_Settings& settings);
    void chooseTemplate(const std::string& name);
    void takeKeysBack();
    static QColor inverseOf(QColor background);
    void scrollToColumn(int64_t column);
    // Schedules a repaint of the area (all of it when empty) unless repaints are suppressed.
    void invalidate(const QRect& area = {});
    // Schedules a repaint of the visible rows holding the characters from..to.
    void invalidateOffsets(int64_t from, int64_t to);
    TWrapRule wrapRule(const TTabStops& tabs) const;
    void reflowAll();
    void noteWrapEdit(int64_t position, int64_t length);
    void flushReflow();
    void applyParserSettings();
    static std::array<TTokenStyle, 256> tokenStylesOf(const TSM_Settings& settings);
    void applyActiveSettings();
    void applyKeyMap(const TSM_Settings& settings);
    // A hyperlink token's characters [Start, End) and its token; Start -1 when none.
    struct THyperSpan
    {
        int64_t Start = -1;
        int64_t End = -1;
        int Token = 0;
    };
    THyperSpan hyperlinkAt(QPoint at) const;
    void hoverLink(QPoint at);
    bool clickLink(const QMouseEvent& event);
    void attachPass();
    // The token bytes the screen shows for a row, written to buffer (Length bytes): null while
    // highlighting is off or the row has none.
    const uint8_t* shownTokens(const TTextRow& row, uint8_t* buffer) const;
    void highlightingSwitched();
    void highlightVisibleRows();
    void runPass(int64_t fromRow, int64_t rowLimit);
    void autoScroll();

    // Mouse: dragging text, dropping, dragging the right-margin line.
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    // Paints the drop position of a drag over the control and a right-margin line being dragged.
    void paintMouseFeedback(QPainter& painter);
    void countClick();
    void pressInText(const QMouseEvent& event, int64_t row);
    int64_t charUnderPointer(QPoint at) const;
    bool pressArmsDrag(const QMouseEvent& event) const;
    void startTextDrag();
    bool acceptsFiles(const class QMimeData& mime) const;
    int64_t dropOffsetAt(QPoint at) const;
    Qt::DropAction dropEffectAt(const QDropEvent& event, int64_t offset);
    TDropSource dropSource(Qt::DropAction effect) const;
    void setDropOffset(int64_t offset);
    // A drag held near the top or bottom edge scrolls the view a row at a time.
    void scrollForDrop(QPoint at);
    void dropScrollTick();
    void dropText(QDropEvent& event);
    int rightMarginX() const;
    bool nearRightMargin(QPoint at) const;
    void hover(QPoint at);
    void beginMarginDrag(QPoint at);
    void moveMarginDrag(QPoint at);
    void endMarginDrag(bool keep);
    void cancelMouseModes();

    // Search (SourceMemoSearch.cpp).
    void setUpSearch();
    void showFindDialog(const std::string& text, uint16_t flags);
    void findNextFromDialog(const std::string& text, uint16_t flags);
    bool searchKey(const QKeyEvent& event);
    std::unique_ptr<TSearchHost> m_searchHost;
    std::unique_ptr<TEditorSearch> m_search;
    TSourceMemoFindDialog* m_findDialog = nullptr; // owned by the control once made
    bool m_hideSelectionBeforeFind = true;
    bool m_replacingAll = false; // highlighting waits until the replace-all is done, as for undo
    TRegExpErrorPresenter m_regExpErrorPresenter;

    TDragExecutor m_dragExecutor;
    bool m_dragArmed = false;      // a press inside the selection waits to become a drag
    QPoint m_dragPressAt;
    TDropSource m_ownDrag;         // the range of the drag the control runs, while it runs
    bool m_ownDragDropped = false; // that drag ended in a drop onto the control itself
    int64_t m_dropOffset = -1;
    QTimer* m_dropScroll = nullptr;
    QPoint m_dropAt;      // where the drag over the control last was
    int m_dropStep = 0;   // -1 up, 1 down, 0 still
    int m_marginDragX = -1;
    bool m_overMargin = false;     // the pointer shows the margin-drag cursor

    std::unique_ptr<TTextStore> m_store;
    std::string m_title;
    std::unique_ptr<TStyleSource> m_exportStyles; // the shown store writes RTF and HTML with it
    std::unique_ptr<TClipboard> m_clipboard;
    std::unique_ptr<TSourceEditor> m_editor;
    TKeyboardActionContoller m_keyMap;
    TKeyDownHandler m_keys;
    std::unique_ptr<TKeyExpansion> m_expansion;
    QPointer<QWidget> m_templateList; // the pick list while it is shown
    // Colours of the row being painted when a breakpoint gives it its own.
    struct TRowColours
    {
        bool Active = false;
        QColor Text;
        QColor Back;
    } m_rowColours;

    int64_t m_topRow = 0;
    int64_t m_leftCol = 0;
    int m_gutter = DefaultGutter;
    int m_margin = 2;
    int m_rightMargin = 80;
    int m_wrapAtColumn = 0;
    std::string m_wrapOverride = ">|:";
    // Characters edited since the last re-flow, as offsets; start -1 when none.
    int64_t m_wrapDirtyStart = -1;
    int64_t m_wrapDirtyEnd = -1;
    bool m_reflowAllPending = false; // a width change waits for the next use of the rows
    bool m_paintLock = false;
    bool m_redrawOff = false;
    bool m_repaintSuppressed = false;
    bool m_wantTab = true;
    bool m_hideSelection = true;
    bool m_overLink = false; // the pointer shows HyperCursor
    TScrollStyle m_scrollBars = ssBoth;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_settingBars = false; // updateScrollBars is moving the bars
    // The selection and caret as last painted (smaller and larger offset), so a move repaints
    // the rows it leaves as well as those it reaches.
    int64_t m_paintedSelStart = 0;
    int64_t m_paintedSelEnd = 0;
    bool m_showFocusLine = false;
    int m_charWidth = 7;
    int m_lineHeight = 17;
    int m_ascent = 13;
    QFont m_font;
    QFont m_gutterFont;
    std::array<QFont, 8> m_styleFonts; // faces: bold | italic << 1 | underline << 2
    // Text is drawn glyph by glyph at the x its row's layout gives, so the caret, the selection
    // and the pointer always meet the glyphs' edges, whatever the face's advances.
    std::array<QRawFont, 8> m_rawFonts;
    std::array<std::array<quint32, 256>, 8> m_glyphOfByte{};
    TGlyphAdvances m_advances;
    bool m_fixedPitch = true;
    std::array<uint8_t, 256> m_faceOfToken{};
    QList<quint32> m_runGlyphs;       // reused by drawGlyphs
    QList<QPointF> m_runPositions;
    std::unique_ptr<TSM_Settings> m_ownSettings;
    QColor m_gutterColor;
    QColor m_gutterTextColor = Qt::black;
    QColor m_marginColor = Qt::white;
    QColor m_selText = Qt::white;
    QColor m_selBack = QColor(0, 128, 128);
    std::array<TTokenStyle, 256> m_styles{};
    std::array<TSourceMemoParser*, ParserSlots> m_parsers{};
    int m_activeParser = 1;
    std::unique_ptr<THighlightPass> m_pass;
    int64_t m_pendingRow = -1;
    TDisplayLine m_line; // reused for every row painted

    bool m_caretVisible = false;
    QTimer* m_caretBlink = nullptr;
    QTimer* m_dragScroll = nullptr;
    bool m_selecting = false;
    int m_clickCount = 0;
    QElapsedTimer m_lastClick;
    int64_t m_lastClickRow = -1;
    int64_t m_rowsPainted = 0;

    friend class TPrintCanvas;
    friend class TPrintingState;
    void printLines(const TPrintLines& lines);
    QPrinter* m_printer = nullptr;
    TPrintRect m_printArea;
    bool m_hasPrintArea = false;
    bool m_printing = false;
};

// A print that could not be made: no printer, or a printer that refused to start or to take a
// page.
class EPrintError : public ESourceMemo
{
public:
    using ESourceMemo::ESourceMemo;
};
