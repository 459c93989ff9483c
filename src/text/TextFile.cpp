#include "text/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <iterator>
#include <sstream>

namespace brekka {

namespace {
constexpr size_t kFlushSize = 1 << 16;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

bool TextFileWriter::Open(const std::string& path) {
    if (fd_ >= 0) {
        Close();
    }
    // The file is written over and cut to its new length when closed, not emptied
    // first: emptying a large report costs the file system more than writing it,
    // and a new run of the same data writes the same length.
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    failed_ = fd_ < 0;
    written_ = 0;
    buffer_.clear();
    return !failed_;
}

TextFileWriter::~TextFileWriter() {
    if (fd_ >= 0) {
        Close();
    }
}

void TextFileWriter::Write(const std::string& text) {
    buffer_ += text;
    if (buffer_.size() >= kFlushSize) {
        Flush();
    }
}

void TextFileWriter::WriteLine(const std::string& text) {
    buffer_ += text;
    buffer_ += "\r\n";
    if (buffer_.size() >= kFlushSize) {
        Flush();
    }
}

void TextFileWriter::Flush() {
    size_t done = 0;
    while (fd_ >= 0 && !failed_ && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failed_ = true;
            break;
        }
        done += static_cast<size_t>(n);
    }
    written_ += static_cast<long long>(done);
    buffer_.clear();
}

bool TextFileWriter::Close() {
    if (fd_ < 0) {
        return false;
    }
    Flush();
    if (!failed_ && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) {
        failed_ = true;
    }
    if (::close(fd_) != 0) {
        failed_ = true;
    }
    fd_ = -1;
    return !failed_;
}

bool TextReader::Open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return false;
    }
    // Read in one piece: the input files of large data sets run to megabytes.
    std::string content;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        content.resize(static_cast<size_t>(size));
        in.read(content.data(), size);
        content.resize(static_cast<size_t>(in.gcount()));
    }
    if (in.bad() || size < 0) {
        // Not a plain file (a pipe, say): read it as a stream.
        std::ifstream again(path, std::ios::binary);
        std::ostringstream stream;
        stream << again.rdbuf();
        if (again.bad()) {
            return false;
        }
        content = stream.str();
    }
    OpenText(std::move(content));
    return true;
}

void TextReader::OpenText(std::string text) {
    text_ = std::move(text);
    pos_ = 0;
    line_ = 1;
}

bool TextReader::AtLineEnd() const {
    return pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r';
}

void TextReader::ConsumeLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') {
        ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] == '\n') {
        ++pos_;
    }
    ++line_;
}

std::string TextReader::ReadLine() {
    return std::string(ReadLineView());
}

std::string_view TextReader::ReadLineView() {
    const size_t start = pos_;
    const char* const text = text_.data();
    const size_t size = text_.size();
    size_t end = pos_;
    while (end < size && text[end] != '\n' && text[end] != '\r') {
        ++end;
    }
    pos_ = end;
    const std::string_view line = std::string_view(text_).substr(start, pos_ - start);
    if (pos_ < text_.size()) {
        ConsumeLineEnd();
    }
    return line;
}

void TextReader::SkipLine() {
    ReadLine();
}

void TextReader::SkipLines(int count) {
    for (int i = 0; i < count; ++i) {
        SkipLine();
    }
}

void TextReader::SkipChars(int count) {
    for (int i = 0; i < count && !AtLineEnd(); ++i) {
        ++pos_;
    }
}

bool TextReader::RestOfLineIsBlank() const {
    for (size_t p = pos_; p < text_.size() && text_[p] != '\r' && text_[p] != '\n'; ++p) {
        if (!IsBlank(text_[p])) {
            return false;
        }
    }
    return true;
}

bool TextReader::ReadChar(char& c) {
    if (pos_ >= text_.size()) {
        return false;
    }
    c = text_[pos_++];
    if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) {
        ++line_;
    }
    return true;
}

std::string_view TextReader::ReadToken() {
    while (pos_ < text_.size()) {
        char c = text_[pos_];
        if (IsBlank(c)) {
            ++pos_;
        } else if (c == '\r' || c == '\n') {
            ConsumeLineEnd();
        } else {
            break;
        }
    }
    size_t start = pos_;
    while (!AtLineEnd() && !IsBlank(text_[pos_])) {
        ++pos_;
    }
    return std::string_view(text_).substr(start, pos_ - start);
}

long long TextReader::ReadInteger() {
    const std::string_view token = ReadToken();
    long long value = 0;
    if (!ParseInteger(token, value)) {
        throw TextReadError(token.empty() ? "a number is missing"
                                          : "\"" + std::string(token) + "\" is not a whole number");
    }
    return value;
}

double TextReader::ReadReal() {
    const std::string_view token = ReadToken();
    double value = 0;
    if (!ParseReal(token, value)) {
        throw TextReadError(token.empty() ? "a number is missing"
                                          : "\"" + std::string(token) + "\" is not a number");
    }
    return value;
}

std::string TextReader::ReadWord() {
    const std::string_view token = ReadToken();
    if (token.empty()) {
        throw TextReadError("a number is missing");
    }
    return std::string(token);
}

bool HasRealForm(std::string_view text, char* exponentSign) {
    // Sign, digits, optional "." and digits (at least one digit in all), optional
    // exponent with sign and digits. Nothing else, so inf and nan are refused.
    size_t i = 0;
    const size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (exponentSign) {
        *exponentSign = '+';
    }
    if (digits == 0) {
        return false;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            if (exponentSign) {
                *exponentSign = text[i];
            }
            ++i;
        }
        size_t expDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    return i == n;
}

bool ParseReal(std::string_view text, double& value) {
    if (!HasRealForm(text)) {
        return false;
    }
    const size_t n = text.size();
    const char* first = text.data();
    if (*first == '+') {
        ++first;
    }
    double parsed = 0;
    auto result = std::from_chars(first, text.data() + n, parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + n || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInteger(std::string_view text, long long& value) {
    if (text.empty()) {
        return false;
    }
    const char* first = text.data();
    if (*first == '+') {
        ++first;
    }
    long long parsed = 0;
    auto result = std::from_chars(first, text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return false;
    }
    value = parsed;
    return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
    TextReader reader;
    reader.OpenText(text);
    std::vector<std::string> lines;
    while (!reader.AtEnd()) {
        lines.push_back(reader.ReadLine());
    }
    return lines;
}

} // namespace brekka
