#include "Console.h"

#include "platform/files/FileDescriptors.h"
#include "platform/values/NoDestructor.h"

#include <mutex>


#include <unistd.h>

namespace lexi {

namespace {

// Never destroyed: the logging dispatcher writes here from its exit handler.
struct Output
{
    std::mutex mutex;
    Console::Sink sink;
};

Output &output()
{
    static NoDestructor<Output> output;
    return output.get();
}

void writeToStandardError(const QString &line)
{
    QByteArray bytes = line.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    writeAll(STDERR_FILENO, bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

void Console::writeLine(const QString &line)
{
    std::lock_guard lock(output().mutex);
    if (output().sink)
        output().sink(line);
    else
        writeToStandardError(line);
}

Console::Sink Console::setSink(Sink sink)
{
    std::lock_guard lock(output().mutex);
    return std::exchange(output().sink, std::move(sink));
}

} // namespace lexi
