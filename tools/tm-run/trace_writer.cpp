#include "tools/tm-run/trace_writer.h"

#include <cerrno>
#include <cstring>

namespace {

// Large enough that writing millions of short lines is not bound by system calls.
constexpr std::size_t fileBufferBytes = 1 << 20;

}  // namespace

TraceWriter::TraceWriter() : tape(*this) {}

bool TraceWriter::open(const std::string& path, std::string& error) {
    errno = 0;
    // Binary, so that the CR LF line ends are the same bytes on every system.
    file.reset(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::setvbuf(file.get(), nullptr, _IOFBF, fileBufferBytes);
    return true;
}

bool TraceWriter::failed() const {
    return writeError != 0;
}

int TraceWriter::StatesSink::appendLogLine(const std::string& text) {
    pending = text;
    return lineCount++;
}

int TraceWriter::TapeSink::appendLogLine(const std::string& text) {
    writer.writePair(text);
    return lineCount++;
}

void TraceWriter::writePair(const std::string& tapeLine) {
    if (!file || writeError != 0) {
        return;
    }
    // One write per line: the stream's lock is taken once, not four times.
    line.assign(states.pending);
    line += '\t';
    line += tapeLine;
    line += "\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size()) {
        writeError = errno != 0 ? errno : EIO;
    }
}

bool TraceWriter::close(std::string& error) {
    if (file) {
        errno = 0;
        const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
        if (!flushed && writeError == 0) {
            writeError = errno != 0 ? errno : EIO;
        }
        if (std::fclose(file.release()) != 0 && writeError == 0) {
            writeError = errno != 0 ? errno : EIO;
        }
    }
    if (writeError != 0) {
        error = std::strerror(writeError);
        return false;
    }
    return true;
}
