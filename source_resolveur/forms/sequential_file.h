// The form runtime's sequential text files: a file opened for input is read line
// by line, a file opened for output is created or truncated and written line by
// line. A failure keeps the error number and text that the system reports: errno
// and strerror on POSIX, GetLastError and FormatMessageA on Windows.
//
// Paths are UTF-8. On Windows they are opened through the wide-character calls,
// so that a folder name outside the ANSI code page works.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace forms {

struct FileError {
    unsigned long number = 0;
    std::string description;
};

// The handle of an open file: a file descriptor, or a Windows HANDLE.
class SystemFile {
public:
    SystemFile() = default;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;
    virtual ~SystemFile(); // closes a file still open, ignoring any failure

    // Closes the file if it is open, ignoring any failure; Error() stays as it was.
    void Release();
    // Release, then removes the file if OpenForOutput created it: a failed save leaves
    // no file of its own, and never removes one that was there.
    void Discard();
    const FileError& Error() const { return error_; }

protected:
    bool OpenForInput(const std::string& path);
    // Creates the file, or cuts an existing one to nothing.
    bool OpenForOutput(const std::string& path);
    bool CloseChecked();
    // Records the system's last error; returns false.
    bool Fail();
    // Records a failure that the system did not report as one.
    bool Fail(unsigned long number);

    // The system's read: bytes read, 0 at the end of the file, -1 on failure.
    virtual long ReadSome(char* buffer, std::size_t size);
    // The system's write: bytes written (0 included), -1 on failure.
    virtual long WriteSome(const char* data, std::size_t size);

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
    FileError error_;
    std::string made_; // the path of the file that OpenForOutput created, if it did
};

// A text file read line by line. A line ends with CR LF, a lone CR or a lone LF;
// the line end is consumed and not kept.
class InputFile : public SystemFile {
public:
    // Longer lines are faulty: ReadLine fails on them rather than read on for ever.
    static constexpr std::size_t kMaxLine = 64 * 1024;

    bool Open(const std::string& path) { return OpenForInput(path); }
    // True when nothing is left to read, or when reading fails (Error() then says why).
    bool AtEnd();
    // The next line; false on a read failure or a line longer than kMaxLine.
    bool ReadLine(std::string& line);

private:
    // Makes at least one byte available; false at the end or on failure.
    bool Fill();

    char buffer_[4096];
    std::size_t next_ = 0;
    std::size_t filled_ = 0;
    bool afterCr_ = false; // a LF right after a CR belongs to its line end
    bool ended_ = false;
    bool failed_ = false;
};

// A text file created (or truncated) and written line by line.
class OutputFile : public SystemFile {
public:
    bool Open(const std::string& path) { return OpenForOutput(path); }
    // Writes text and CR LF in one write; a write that takes nothing is a failure
    // (disk full) rather than retried for ever.
    bool WriteLine(std::string_view text);
    bool Close() { return CloseChecked(); }
};

} // namespace forms
