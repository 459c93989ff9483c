#pragma once
// Text files as Brekka writes and reads them: lines end in CR LF when written;
// readers accept CR LF and LF. The reader reads numbers the way the file formats
// expect them: leading blanks and line ends are skipped and a number ends at a
// blank or at the end of its line.
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace brekka {

// Thrown by readers that meet something they cannot read; the message is meant
// for the user.
class TextReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TextFileWriter {
public:
    TextFileWriter() = default;
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Creates or replaces the file; false when it cannot be opened.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    void Write(const std::string& text);
    void WriteLine(const std::string& text = std::string());
    // Closes the file; false when any write failed.
    bool Close();

    ~TextFileWriter();

private:
    int fd_ = -1;
    long long written_ = 0;
    std::string buffer_;
    bool failed_ = false;
    void Flush();
};

class TextReader {
public:
    // Reads the file whole; false when it cannot be opened.
    bool Open(const std::string& path);
    // Reads from text already in memory (tests, clipboard).
    void OpenText(std::string text);

    bool AtEnd() const { return pos_ >= text_.size(); }
    // Line number (from 1) of the current position, for messages.
    int LineNumber() const { return line_; }

    // Reads the rest of the current line and moves to the next one.
    std::string ReadLine();
    // The same without a copy; the view holds until the reader gets a new text.
    std::string_view ReadLineView();
    void SkipLine();
    void SkipLines(int count);
    // Skips up to `count` characters of the current line (never past its end).
    void SkipChars(int count);
    // Skips blanks, tabs and line ends, then reads one number up to the next
    // blank, tab or line end. Throws TextReadError when there is none or it is
    // not a (finite) number.
    long long ReadInteger();
    double ReadReal();
    // Skips blanks, tabs and line ends, then reads the text up to the next blank,
    // tab or line end, for records whose spelling matters. Throws TextReadError
    // when there is none.
    std::string ReadWord();
    // True when only blanks and tabs remain on the current line.
    bool RestOfLineIsBlank() const;
    // Reads the next character, line-end characters included (a CR LF line end is
    // two characters); false at the end of the text.
    bool ReadChar(char& c);

private:
    std::string text_;
    size_t pos_ = 0;
    int line_ = 1;
    std::string_view ReadToken();
    bool AtLineEnd() const;
    void ConsumeLineEnd();
};

// Parses a whole text as a number: optional sign, digits with an optional "."
// and an optional exponent. False for anything else, including inf and nan.
bool ParseReal(std::string_view text, double& value);
// Whether the text has the form ParseReal reads, whatever its magnitude; the sign
// of its exponent ('+' without one) in `exponentSign` when given.
bool HasRealForm(std::string_view text, char* exponentSign = nullptr);
bool ParseInteger(std::string_view text, long long& value);

// Splits a text into lines, accepting CR LF and LF line ends.
std::vector<std::string> SplitLines(const std::string& text);

} // namespace brekka
