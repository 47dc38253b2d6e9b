#include "support/BareBzip2.h"
#include "support/GeneratedVocabulary.h"
#include "support/NullWorkspace.h"
#include "support/RunBenchmarks.h"

#include "model/Bzip2.h"
#include "model/QLXStorageManager.h"
#include "model/VocabularyJsonWriter.h"
#include "model/VocabularySnapshot.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/ports/Console.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The size of the JSON text the vocabulary file at `path` unpacks to.
qsizetype jsonSizeOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return lexi::Bzip2::decompressed(file, QLXStorageManager::maximumDocumentSize).data.size();
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
}

// A store in a folder of its own, holding the generated vocabulary of `words` words in both
// formats, and a second file of 60,000 words written by another program: QJsonDocument's
// indented text, packed by bzip2.
class StorageFixture
{
public:
    explicit StorageFixture(int words = 50000)
        : vocabulary(lexi::bench::generateVocabulary(m_services.services(), words)),
          ownFormatPath(QDir(m_folder.path()).filePath(u"vocabulary.qlxv"_s)),
          otherProgramPath(QDir(m_folder.path()).filePath(u"other program.qlxv"_s)),
          archivePath(QDir(m_folder.path()).filePath(u"vocabulary.tbf"_s))
    {
        // Each archive save reports itself on the console.
        lexi::Console::setSink([](const QString &) {});
        store.saveVocabularyToQLXVFile(vocabulary.get(), ownFormatPath);
        store.saveVocabularyToTBFFile(vocabulary.get(), archivePath);
    }

    // The file of the given kind: 0 the benchmark vocabulary as this program saves it, 1 the
    // other program's (made when first asked for).
    const QString &file(int64_t kind)
    {
        if (kind == 0)
            return ownFormatPath;
        if (!QFile::exists(otherProgramPath)) {
            const auto other = lexi::bench::generateVocabulary(m_services.services(), 60000, 7);
            const QByteArray json = QJsonDocument(other->dictionaryRepresentation()).toJson(QJsonDocument::Indented);
            writeFile(otherProgramPath, lexi::Bzip2::compressed(json).value());
        }
        return otherProgramPath;
    }

    const lexi::VocabularyServices &services() const { return m_services.services(); }

private:
    lexi::bench::BenchmarkServices m_services;
    QTemporaryDir m_folder;
    lexi::ApplicationFolders m_folders{m_folder.path()};
    lexi::test::NullWorkspace m_workspace;

public:
    QLXStorageManager store{m_folders, m_services.services(), m_workspace};
    std::shared_ptr<Lexicarta> vocabulary;
    QString ownFormatPath;
    QString otherProgramPath;
    QString archivePath;
};

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Runs `work` and adds its time to `total`.
template <typename Work>
void timed(Clock::duration &total, Work &&work)
{
    const Clock::time_point start = Clock::now();
    work();
    total += Clock::now() - start;
}

// Loading the own format (argument 0: the benchmark vocabulary of 50,000 words; 1: the other
// program's file of 60,000), side by side in every iteration with a bare bzip2 decompression of
// the same file and with that decompression followed by QJsonDocument::fromJson. The iteration
// time is the load's; the counters hold the averages (ms) and the ratios.
void BM_LoadOwnFormat(benchmark::State &state)
{
    StorageFixture fixture;
    const QString &path = fixture.file(state.range(0));
    const QByteArray packed = readFile(path);
    const qsizetype jsonSize = jsonSizeOf(path);
    Clock::duration bare{};
    Clock::duration tree{};
    Clock::duration load{};
    for (auto _ : state) {
        // The vocabulary loaded is freed after the measurement: freeing is no part of loading.
        std::shared_ptr<Lexicarta> loaded;
        Clock::duration once{};
        timed(once, [&] { loaded = fixture.store.vocabularyFromQLXVFile(path); });
        benchmark::DoNotOptimize(loaded);
        timed(bare, [&] {
            const QByteArray json = lexi::bench::bareBzip2Decompressed(readFile(path), jsonSize);
            benchmark::DoNotOptimize(json.data());
        });
        timed(tree, [&] {
            const QByteArray json = lexi::bench::bareBzip2Decompressed(readFile(path), jsonSize);
            benchmark::DoNotOptimize(QJsonDocument::fromJson(json));
        });
        load += once;
        state.SetIterationTime(std::chrono::duration<double>(once).count());
    }
    const double iterations = double(state.iterations());
    state.counters["bzip2_ms"] = milliseconds(bare) / iterations;
    state.counters["bzip2+QJsonDocument_ms"] = milliseconds(tree) / iterations;
    state.counters["load_ms"] = milliseconds(load) / iterations;
    state.counters["load/bzip2"] = milliseconds(load) / milliseconds(bare);
    state.counters["load/(bzip2+QJsonDocument)"] = milliseconds(load) / milliseconds(tree);
    state.counters["json_MB"] = double(jsonSize) / 1e6;
    state.counters["file_MB"] = double(packed.size()) / 1e6;
}
BENCHMARK(BM_LoadOwnFormat)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Saving in the own format, side by side with a bare bzip2 compression (block size 9, work
// factor 30) of the same JSON text, and with the save as it was: the document tree built and
// written by QJsonDocument, then compressed.
void BM_SaveOwnFormat(benchmark::State &state)
{
    StorageFixture fixture;
    const QByteArray json = lexi::VocabularyJsonWriter::json(lexi::VocabularySnapshot(*fixture.vocabulary));
    Clock::duration bare{};
    Clock::duration tree{};
    Clock::duration save{};
    for (auto _ : state) {
        timed(bare, [&] { benchmark::DoNotOptimize(lexi::Bzip2::compressed(json)); });
        timed(tree, [&] {
            benchmark::DoNotOptimize(lexi::Bzip2::compressed(
                QJsonDocument(fixture.vocabulary->dictionaryRepresentation()).toJson(QJsonDocument::Compact)));
        });
        Clock::duration once{};
        timed(once, [&] {
            benchmark::DoNotOptimize(fixture.store.saveVocabularyToQLXVFile(fixture.vocabulary.get(),
                                                                            fixture.ownFormatPath));
        });
        save += once;
        state.SetIterationTime(std::chrono::duration<double>(once).count());
    }
    const double iterations = double(state.iterations());
    state.counters["bzip2_ms"] = milliseconds(bare) / iterations;
    state.counters["QJsonDocument+bzip2_ms"] = milliseconds(tree) / iterations;
    state.counters["save_ms"] = milliseconds(save) / iterations;
    state.counters["save/bzip2"] = milliseconds(save) / milliseconds(bare);
    state.counters["json_MB"] = double(json.size()) / 1e6;
}
BENCHMARK(BM_SaveOwnFormat)->UseManualTime()->Unit(benchmark::kMillisecond);

// What the main thread spends on one answer: recording it and handing the save to the
// background saver, which writes meanwhile.
void BM_AnswerAndHandOverTheSave(benchmark::State &state)
{
    StorageFixture fixture(int(state.range(0)));
    const lexi::WordList words = fixture.vocabulary->allWords();
    qsizetype next = 0;
    for (auto _ : state) {
        const std::shared_ptr<QLXWord> &word = words[next++ % words.size()];
        fixture.vocabulary->answeredWord(*word, next % 3 == 0 ? -1 : 1);
        benchmark::DoNotOptimize(fixture.store.saveVocabulary(fixture.vocabulary.get()));
    }
    fixture.store.flushSaves();
}
BENCHMARK(BM_AnswerAndHandOverTheSave)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// The most memory loading takes above what the process held before, measured in a process of
// its own (see main()), for the load as it is and as it was (decompressed whole, parsed into a
// QJsonDocument, then made words), with the ratio to the JSON text's size.
void BM_LoadPeakMemory(benchmark::State &state)
{
    StorageFixture fixture;
    const QString &path = fixture.file(state.range(0));
    const double jsonSize = double(jsonSizeOf(path));
    const auto peak = [&path](const QString &way) {
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(), {u"--load-peak-memory"_s, way, path});
        probe.waitForFinished(-1);
        return probe.readAllStandardOutput().trimmed().toDouble();
    };
    double reader = 0;
    double tree = 0;
    for (auto _ : state) {
        reader = peak(u"reader"_s);
        tree = peak(u"tree"_s);
    }
    state.counters["json_MB"] = jsonSize / 1e6;
    state.counters["peak_MB"] = reader / 1e6;
    state.counters["peak/json"] = reader / jsonSize;
    state.counters["QJsonDocument_peak_MB"] = tree / 1e6;
    state.counters["QJsonDocument_peak/json"] = tree / jsonSize;
}
BENCHMARK(BM_LoadPeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// Saving the benchmark vocabulary as an archive (the export to the older product's format), side by
// side in every iteration with saving it in the own format. The iteration time is the archive's.
void BM_SaveArchiveBesideOwnFormat(benchmark::State &state)
{
    StorageFixture fixture;
    Clock::duration ownFormat{};
    Clock::duration archive{};
    for (auto _ : state) {
        timed(ownFormat, [&] {
            benchmark::DoNotOptimize(fixture.store.saveVocabularyToQLXVFile(fixture.vocabulary.get(),
                                                                            fixture.ownFormatPath));
        });
        Clock::duration once{};
        timed(once, [&] {
            benchmark::DoNotOptimize(fixture.store.saveVocabularyToTBFFile(fixture.vocabulary.get(),
                                                                           fixture.archivePath));
        });
        archive += once;
        state.SetIterationTime(std::chrono::duration<double>(once).count());
    }
    const double iterations = double(state.iterations());
    state.counters["own_format_ms"] = milliseconds(ownFormat) / iterations;
    state.counters["archive_ms"] = milliseconds(archive) / iterations;
    state.counters["archive/own_format"] = milliseconds(archive) / milliseconds(ownFormat);
    state.counters["archive_MB"] = double(QFileInfo(fixture.archivePath).size()) / 1e6;
}
BENCHMARK(BM_SaveArchiveBesideOwnFormat)->UseManualTime()->Unit(benchmark::kMillisecond);

// Saving and loading the older product's archive format, at growing sizes: both stay linear.
void BM_SaveArchive(benchmark::State &state)
{
    StorageFixture fixture(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.store.saveVocabularyToTBFFile(fixture.vocabulary.get(), fixture.archivePath));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveArchive)->RangeMultiplier(2)->Range(6250, 50000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_LoadArchive(benchmark::State &state)
{
    StorageFixture fixture(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.store.vocabularyFromTBFFile(fixture.archivePath));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadArchive)->RangeMultiplier(2)->Range(6250, 50000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A figure of /proc/self/status in bytes ("VmRSS", "VmHWM").
double statusBytes(const std::string &name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ':', 0) == 0)
            return std::stod(line.substr(name.size() + 1)) * 1024;
    }
    return 0;
}

// Loads the file once, the way given, and prints how far the resident memory rose above what
// it was before.
int measureLoadPeakMemory(const QString &way, const QString &path)
{
    lexi::bench::BenchmarkServices services;
    QTemporaryDir folder;
    const lexi::ApplicationFolders folders(folder.path());
    lexi::test::NullWorkspace workspace;
    QLXStorageManager store(folders, services.services(), workspace);
    const double before = statusBytes("VmRSS");
    // Starts the peak afresh from the present size.
    std::ofstream("/proc/self/clear_refs") << "5";
    std::shared_ptr<Lexicarta> vocabulary;
    if (way == u"reader"_s) {
        vocabulary = store.vocabularyFromQLXVFile(path);
    } else {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const lexi::Bzip2::Decompressed json = lexi::Bzip2::decompressed(file, QLXStorageManager::maximumDocumentSize);
        vocabulary = Lexicarta::initWithDictionary(QJsonDocument::fromJson(json.data).object(), services.services());
    }
    const double peak = statusBytes("VmHWM");
    std::printf("%.0f\n", vocabulary ? peak - before : 0.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--load-peak-memory")
        return measureLoadPeakMemory(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    return lexi::bench::runBenchmarks(argc, argv);
}
