#ifndef KELVANE_PROJECT_CALL_FIELDTEXT_H
#define KELVANE_PROJECT_CALL_FIELDTEXT_H

#include <cstddef>
#include <string>

// A text member of a record and the name it is kept under.
template <class Record>
struct TextFieldName {
    const char* name;
    std::string Record::*member;
};

// The member of record that fields keep under name; null for a name of none.
template <class Record, std::size_t Count>
std::string* textField(Record& record, const TextFieldName<Record> (&fields)[Count], const std::string& name)
{
    for (const TextFieldName<Record>& field : fields) {
        if (name == field.name)
            return &(record.*field.member);
    }
    return nullptr;
}

// Text files of "name value" lines, as the call window keeps them in the
// project folder. A value is written on its line with '%', line breaks and
// the other control characters as %XX, so any bytes read back as written.
class FieldText {
public:
    // Appends "name value\n".
    static void append(std::string& out, const std::string& name, const std::string& value);
    static std::string escaped(const std::string& value);

    explicit FieldText(const std::string& text) : text_(text) {}

    // The next line's name and value; false at the end or at a line that
    // does not read (error() says why, line() and column() where).
    bool next(std::string& name, std::string& value);
    // The count bytes that follow the last line read, as they stand, and the
    // line break after them when there is one; false when fewer remain.
    bool takeBytes(std::size_t count, std::string& bytes);
    bool atEnd() const { return at_ >= text_.size(); }

    int line() const { return line_; }
    int column() const { return column_; }
    const std::string& error() const { return error_; }

private:
    bool fail(int column, const std::string& message);
    bool unescape(const std::string& text, int firstColumn, std::string& value);

    const std::string& text_;
    std::size_t at_ = 0;
    int line_ = 0;  // of the last line read, from 1
    int column_ = 1;
    std::string error_;
};

#endif
