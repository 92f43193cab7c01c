#ifndef KELVANE_PROJECT_CALL_CALLHISTORY_H
#define KELVANE_PROJECT_CALL_CALLHISTORY_H

#include <string>
#include <vector>

// One request sent from the call window.
struct CallRecord {
    std::string when;  // as the window wrote it, e.g. 2026-12-10T11:30:00Z
    std::string port, operation, endpoint, envelope;
    int status = 0;       // the HTTP status; 0 without an answer
    std::string outcome;  // the outcome's name: Answered, Refused, ...
};

// A history file that could not be read, with the spot where reading stopped.
struct CallHistoryProblem {
    std::string file;
    int line = 0;
    int column = 0;
    std::string message;
    // "file:line:column: message"
    std::string text() const;
};

// The requests sent, kept in the project folder: one file for each request
// in the folder "call-history", numbered in the order sent. A file of
// "name value" lines (values escaped with %XX for '%', line breaks and
// control characters) ends with "envelope <bytes>" and the envelope's bytes
// as sent, so a damaged file costs that request only.
class CallHistory {
public:
    explicit CallHistory(const std::string& projectFolder);

    const std::string& folder() const { return folder_; }

    // Every record that reads, oldest first; each damaged file is left out and named in problems.
    std::vector<CallRecord> load(std::vector<CallHistoryProblem>& problems) const;
    // Adds a record as a file of its own; false with why when it could not be written.
    bool append(const CallRecord& record, std::string& why) const;
    // Replaces the history with records; the old files go only once the new ones are written.
    bool save(const std::vector<CallRecord>& records, std::string& why) const;

    // A record's file text, and the record back from it; false with the spot and the cause.
    static std::string recordText(const CallRecord& record);
    static bool readRecord(const std::string& text, CallRecord& record, CallHistoryProblem& problem);

private:
    std::vector<std::string> recordFiles() const;
    int nextNumber() const;
    bool writeRecord(const std::string& path, const CallRecord& record, std::string& why) const;

    std::string folder_;
};

#endif
