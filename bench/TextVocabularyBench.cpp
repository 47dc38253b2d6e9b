#include "support/GeneratedVocabulary.h"

#include "model/TextVocabularyParser.h"
#include "model/VocabularyExport.h"
#include "platform/ports/Console.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// The generated vocabulary of 50,000 words written in one text form, with comments and
// difficulty, and read back: 50,001 lines with the header. Without the header line, as a
// spreadsheet may save the file again, the delimiter and the quote are found from the fields.
void BM_ReadExportedText(benchmark::State &state, bool usingComma, bool withHeader)
{
    const lexi::bench::BenchmarkServices services;
    const auto vocabulary = lexi::bench::generateVocabulary(services.services());
    QTemporaryDir folder;
    const QString path = folder.filePath(u"words.csv"_s);
    const std::atomic<bool> cancelled = false;
    if (!lexi::writeExport(*vocabulary, path, lexi::ExportFormat::text, {usingComma, true, true, true}, cancelled)
             .written)
        std::abort();
    if (!withHeader) {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            std::abort();
        QStringDecoder decoder(QStringConverter::Utf16);
        const QString text = decoder.decode(file.readAll());
        file.resize(0);
        file.write(text.sliced(text.indexOf(u'\n') + 1).toUtf8());
    }
    lexi::Console::setSink([](const QString &) {});
    lexi::TextVocabularyParser parser;
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.wordsFromCSVFile(path, false));
    lexi::Console::setSink({});
    state.SetItemsProcessed(state.iterations() * vocabulary->countAllWords());
}
BENCHMARK_CAPTURE(BM_ReadExportedText, QuotedCommas, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadExportedText, Tabs, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadExportedText, QuotedCommasWithoutHeader, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadExportedText, TabsWithoutHeader, false, false)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
