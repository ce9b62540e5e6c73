#pragma once
// Reading a whole input file safely: only a regular file is read (a device or a FIFO never
// blocks or streams without end), and its size is checked against a limit before any byte is read.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class InputFile {
public:
    /// Looks at the first bytes (at most the size asked for in readFile) before the rest is read;
    /// false refuses the file as "not the expected kind of file".
    using StartCheck = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;

    /// Reads the file at `path` into bytes(). False, with reason() set, when it cannot be opened,
    /// is not a regular file, is larger than `limit` bytes, fails `check` or cannot be read.
    bool read(const std::string& path, std::uint64_t limit, std::size_t checkBytes = 0,
              const StartCheck& check = nullptr);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    std::string text() const { return std::string(bytes_.begin(), bytes_.end()); }
    /// Why the last read failed, in words: "No such file or directory", "not a regular file", ...
    const std::string& reason() const { return reason_; }
    /// True when the last failure was that the file is larger than the limit.
    bool tooLarge() const { return tooLarge_; }
    /// True when the last failure was that the file could not be opened at all (missing, no access).
    bool openFailed() const { return openFailed_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::string reason_;
    bool tooLarge_ = false;
    bool openFailed_ = false;
};
