// Loading and saving of TTextStore.
#include "editor/text/RowSplice.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/StyleSource.h"
#include "editor/text/TextNormaliser.h"
#include "editor/text/TextStore.h"
#include "editor/text/TextWriters.h"

#include "base/Stream.h"
#include "platform/AtomicFile.h"

#include <filesystem>
#include <new>
#include <vector>

void TTextStore::LoadFromStream(TStream& stream)
{
    ++m_editCount;
    clearUndo();
    try {
        DeleteRange(0, CharCount());
        const auto chunk = static_cast<size_t>(m_capacities.ChunkBytes);
        std::vector<char> input(chunk);
        TTextNormaliser normaliser;
        TRowSplice splice(*this, TRowSpot{}, 0);
        for (;;) {
            const int64_t n = stream.Read(input.data(), static_cast<int64_t>(chunk));
            if (n <= 0)
                break;
            splice.AddRaw(input.data(), static_cast<size_t>(n), normaliser);
        }
        const TRowChange change = splice.Finish();
        const int64_t loaded = CharCount(); // the store was empty before
        if (loaded > 0)
            finishEdit(0, loaded, change);
        FlowKey = kFlowStoreCut; // loading cuts rows the store's own way
    } catch (const std::bad_alloc&) {
        throw ESourceMemo(kNotEnoughMemory);
    }
    for (TStoreView* view : m_views)
        view->DocumentLoaded();
    clearUndo();
}

void TTextStore::LoadFromFile(const std::string& fileName)
{
    std::error_code error;
    if (!std::filesystem::exists(fileName, error) || std::filesystem::is_directory(fileName, error))
        throw EFOpenError(Format(kCannotOpenForReading, fileName.c_str()));
    TFileStream file(fileName, FileMode::OpenRead);
    LoadFromStream(file);
    clearUndo();
    for (TStoreView* view : m_views)
        view->FileNameUsed(fileName);
}

int64_t TTextStore::writeOnce(TStream& stream, int64_t start, int64_t end, TSaveFormat format)
{
    start = std::clamp<int64_t>(start, 0, CharCount());
    end = std::clamp<int64_t>(end, 0, CharCount());
    if (start > end)
        std::swap(start, end);
    // Before the rows are looked up: preparing may cut rows again.
    if (m_styles && (format == sfRTF || format == sfHTML))
        m_styles->PrepareRange(start, end);
    TRowRange range;
    TRowSpot spot;
    if (m_index.FindOffset(start, spot))
        range = {spot.Row, spot.Start, start, end};
    TSaveSink sink(stream);
    const TPlainStyleSource plain;
    const TStyleSource& styles = m_styles ? static_cast<const TStyleSource&>(*m_styles) : plain;
    switch (format) {
    case sfRTF: WriteRtf(sink, range, styles); break;
    case sfHTML: WriteHtml(sink, range, styles); break;
    case sfUNIX: WritePlainText(sink, range, LineEnd::LF); break;
    case sfTEXT: WritePlainText(sink, range, m_lineStyle == lsCRLF ? LineEnd::CRLF : LineEnd::CR); break;
    }
    sink.Flush();
    return sink.Refused() ? -1 : sink.Written();
}

int64_t TTextStore::WriteRange(TStream& stream, int64_t start, int64_t end, TSaveFormat format)
{
    const int64_t written = writeOnce(stream, start, end, format);
    if (written < 0)
        throw EFileSaveError(kCouldNotSaveText);
    return written;
}

int64_t TTextStore::SaveToStream(TStream* stream)
{
    if (!stream)
        throw EFileSaveError(kBadStreamInstance);
    clearUndo();
    const int64_t origin = stream->Position();
    // A stream that takes only part of the text gets three more tries from the same place.
    for (int attempt = 0;; ++attempt) {
        const int64_t written = writeOnce(*stream, 0, CharCount(), m_saveFormat);
        if (written >= 0) {
            clearUndo();
            return written;
        }
        if (attempt == 3)
            throw EFileSaveError(kCouldNotSaveText);
        stream->Seek(origin, SeekOrigin::Beginning);
    }
}

void TTextStore::SaveToFile(const std::string& fileName)
{
    // The previous file is replaced only once the new text is completely on disk.
    TAtomicFileStream file(fileName);
    SaveToStream(&file);
    file.Commit();
    clearUndo();
    for (TStoreView* view : m_views)
        view->FileNameUsed(fileName);
}
