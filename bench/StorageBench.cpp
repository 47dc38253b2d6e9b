#include "support/GeneratedVocabulary.h"

#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/ports/Console.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <bzlib.h>

using namespace Qt::StringLiterals;

namespace {

class NoWorkspace final : public lexi::Workspace
{
public:
    void openFolder(const QString &) override {}
    bool openStorePage(const QUrl &) override { return false; }
};

// A store in a folder of its own, holding the generated vocabulary of `words` words in both
// formats.
class StorageFixture
{
public:
    explicit StorageFixture(int words = 50000)
        : vocabulary(lexi::bench::generateVocabulary(m_services.services(), words)),
          ownFormatPath(QDir(m_folder.path()).filePath(u"vocabulary.qlxv"_s)),
          archivePath(QDir(m_folder.path()).filePath(u"vocabulary.tbf"_s))
    {
        // Each archive save reports itself on the console.
        lexi::Console::setSink([](const QString &) {});
        store.saveVocabularyToQLXVFile(vocabulary.get(), ownFormatPath);
        store.saveVocabularyToTBFFile(vocabulary.get(), archivePath);
    }

private:
    lexi::bench::BenchmarkServices m_services;
    QTemporaryDir m_folder;
    lexi::ApplicationFolders m_folders{m_folder.path()};
    NoWorkspace m_workspace;

public:
    QLXStorageManager store{m_folders, m_services.services(), m_workspace};
    std::shared_ptr<Lexicarta> vocabulary;
    QString ownFormatPath;
    QString archivePath;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Saving in the own format: the JSON document built from the vocabulary, compressed and written.
void BM_SaveOwnFormat(benchmark::State &state)
{
    StorageFixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.store.saveVocabularyToQLXVFile(fixture.vocabulary.get(), fixture.ownFormatPath));
}
BENCHMARK(BM_SaveOwnFormat)->Unit(benchmark::kMillisecond);

// The bare work of that save: the same document serialised by QJsonDocument and compressed in
// one bzip2 call.
void BM_SaveBareJsonAndBzip2(benchmark::State &state)
{
    StorageFixture fixture;
    const QJsonDocument document(fixture.vocabulary->dictionaryRepresentation());
    for (auto _ : state) {
        const QByteArray json = document.toJson(QJsonDocument::Compact);
        QByteArray output(qsizetype(double(json.size()) * 1.02 + 600), Qt::Uninitialized);
        auto length = static_cast<unsigned int>(output.size());
        BZ2_bzBuffToBuffCompress(output.data(), &length, const_cast<char *>(json.constData()),
                                 static_cast<unsigned int>(json.size()), 9, 0, 30);
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(BM_SaveBareJsonAndBzip2)->Unit(benchmark::kMillisecond);

// Loading the own format: the file decompressed as a stream, parsed and made a vocabulary.
void BM_LoadOwnFormat(benchmark::State &state)
{
    StorageFixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.store.vocabularyFromQLXVFile(fixture.ownFormatPath));
}
BENCHMARK(BM_LoadOwnFormat)->Unit(benchmark::kMillisecond);

// The bare work of that load: the file read, decompressed in one bzip2 call and parsed by
// QJsonDocument.
void BM_LoadBareBzip2AndJson(benchmark::State &state)
{
    StorageFixture fixture;
    const qsizetype jsonSize =
        QJsonDocument(fixture.vocabulary->dictionaryRepresentation()).toJson(QJsonDocument::Compact).size();
    for (auto _ : state) {
        QByteArray packed = readFile(fixture.ownFormatPath);
        QByteArray json(jsonSize, Qt::Uninitialized);
        auto length = static_cast<unsigned int>(json.size());
        BZ2_bzBuffToBuffDecompress(json.data(), &length, packed.data(), static_cast<unsigned int>(packed.size()), 0, 0);
        benchmark::DoNotOptimize(QJsonDocument::fromJson(json));
    }
}
BENCHMARK(BM_LoadBareBzip2AndJson)->Unit(benchmark::kMillisecond);

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

} // namespace

BENCHMARK_MAIN();
