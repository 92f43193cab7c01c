// The requests sent from the call window, a file for each in the project folder.
#include "project/call/CallHistory.h"

#include "project/call/FieldText.h"
#include "project/call/WholeFile.h"
#include "project/ProjectFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const kFolder = "call-history";
const char* const kExtension = ".call";
const char* const kFormat = "call 1";
const int kNumberWidth = 6;

// The number a record file's name holds; -1 for another file.
int numberOf(const fs::path& path)
{
    const std::string stem = path.stem().string();
    if (path.extension() != kExtension || stem.empty() || stem.size() > 9
        || !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(stem);
}

std::string numberedName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "%0*d%s", kNumberWidth, number, kExtension);
    return name;
}

bool readStatus(const std::string& value, int& status)
{
    if (value.empty() || value.size() > 3 || !std::all_of(value.begin(), value.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return false;
    status = std::stoi(value);
    return true;
}

bool fail(CallHistoryProblem& problem, int line, int column, const std::string& message)
{
    problem.line = line;
    problem.column = column;
    problem.message = message;
    return false;
}

const TextFieldName<CallRecord> kTextFields[] = {
    {"when", &CallRecord::when},         {"port", &CallRecord::port},       {"operation", &CallRecord::operation},
    {"endpoint", &CallRecord::endpoint}, {"outcome", &CallRecord::outcome},
};

}  // namespace

std::string CallHistoryProblem::text() const
{
    return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

CallHistory::CallHistory(const std::string& projectFolder)
    : folder_((fs::path(projectFolder) / kFolder).string())
{
}

std::string CallHistory::recordText(const CallRecord& record)
{
    std::string text = std::string(kFormat) + "\n";
    FieldText::append(text, "when", record.when);
    FieldText::append(text, "port", record.port);
    FieldText::append(text, "operation", record.operation);
    FieldText::append(text, "endpoint", record.endpoint);
    FieldText::append(text, "status", std::to_string(record.status));
    FieldText::append(text, "outcome", record.outcome);
    text += "envelope " + std::to_string(record.envelope.size()) + "\n" + record.envelope + "\n";
    return text;
}

bool CallHistory::readRecord(const std::string& text, CallRecord& record, CallHistoryProblem& problem)
{
    record = CallRecord();
    FieldText fields(text);
    std::string name;
    std::string value;
    if (!fields.next(name, value) || name + " " + value != kFormat)
        return fail(problem, 1, 1, "not a call record of this program (\"" + std::string(kFormat) + "\" expected)");
    while (fields.next(name, value)) {
        const int line = fields.line();
        const int valueColumn = static_cast<int>(name.size()) + 2;
        if (std::string* field = textField(record, kTextFields, name)) {
            *field = value;
        } else if (name == "status") {
            if (!readStatus(value, record.status))
                return fail(problem, line, valueColumn, "the status must be a number of at most three digits");
        } else if (name == "envelope") {
            if (value.empty() || value.size() > 12 || value.find_first_not_of("0123456789") != std::string::npos)
                return fail(problem, line, valueColumn, "the envelope's size must be a number");
            if (!fields.takeBytes(std::stoull(value), record.envelope))
                return fail(problem, fields.line(), fields.column(), fields.error());
            if (!fields.atEnd())
                return fail(problem, fields.line() + 1, 1, "text after the envelope");
            return true;
        }
        // Names of a later version are passed over.
    }
    if (!fields.error().empty())
        return fail(problem, fields.line(), fields.column(), fields.error());
    return fail(problem, fields.line() + 1, 1, "the record ends without its envelope");
}

std::vector<std::string> CallHistory::recordFiles() const
{
    std::vector<std::pair<int, std::string>> numbered;
    std::error_code error;
    for (fs::directory_iterator entry(folder_, error), end; !error && entry != end; entry.increment(error)) {
        const int number = numberOf(entry->path());
        if (number >= 0)
            numbered.emplace_back(number, entry->path().string());
    }
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::string> files;
    for (const auto& file : numbered)
        files.push_back(file.second);
    return files;
}

std::vector<CallRecord> CallHistory::load(std::vector<CallHistoryProblem>& problems) const
{
    std::vector<CallRecord> records;
    for (const std::string& path : recordFiles()) {
        std::string text;
        CallRecord record;
        CallHistoryProblem problem;
        problem.file = path;
        if (!readDocumentFile(path, text))
            problems.push_back({path, 0, 0, "the file could not be read"});
        else if (readRecord(text, record, problem))
            records.push_back(std::move(record));
        else
            problems.push_back(problem);
    }
    return records;
}

int CallHistory::nextNumber() const
{
    const std::vector<std::string> files = recordFiles();
    return files.empty() ? 1 : numberOf(files.back()) + 1;
}

bool CallHistory::writeRecord(const std::string& path, const CallRecord& record, std::string& why) const
{
    return replaceWholeFile(path, recordText(record), why);
}

bool CallHistory::append(const CallRecord& record, std::string& why) const
{
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) {
        why = folder_ + ": " + error.message();
        return false;
    }
    return writeRecord((fs::path(folder_) / numberedName(nextNumber())).string(), record, why);
}

bool CallHistory::save(const std::vector<CallRecord>& records, std::string& why) const
{
    // The new records take numbers after the old ones; the old files go once all are written.
    const std::vector<std::string> old = recordFiles();
    int number = nextNumber();
    std::error_code error;
    fs::create_directories(folder_, error);
    std::vector<std::string> written;
    for (const CallRecord& record : records) {
        const std::string path = (fs::path(folder_) / numberedName(number++)).string();
        if (!writeRecord(path, record, why)) {
            for (const std::string& file : written)
                fs::remove(file, error);
            return false;
        }
        written.push_back(path);
    }
    for (const std::string& file : old)
        fs::remove(file, error);
    return true;
}
