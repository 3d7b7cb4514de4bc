// Database errors with the host's numbers where the programs branch on them.
#pragma once

#include <QString>

#include <stdexcept>

namespace qz {

namespace dberr {
constexpr int kCannotOpen = 3051;        // locked, opened exclusively or cannot be opened
constexpr int kFileNotFound = 3024;      // the database file (or the configuration) is missing
constexpr int kInvalidPath = 3044;       // not a valid path: a folder, no file name, no folder
constexpr int kTableExists = 3010;       // CREATE TABLE of an existing table
constexpr int kPrimaryKeyExists = 3283;  // second primary key on a table
constexpr int kDuplicateKey = 3022;      // unique index or key violated
constexpr int kNoSuchTable = 3078;       // the engine cannot find the table or query
constexpr int kTooFewParameters = 3061;  // unknown column name
constexpr int kSyntax = 3075;            // syntax error in the statement
constexpr int kNotADatabase = 3343;      // unrecognised database format
constexpr int kWorkgroup = 3028;         // cannot start: workgroup file missing or invalid
constexpr int kAccount = 3029;           // not a valid account name or password
constexpr int kReadOnly = 3027;          // database or object is read-only
constexpr int kDiskFull = 3035;          // system resource exceeded / disk full
constexpr int kItemNotFound = 3265;      // no column of that name
constexpr int kLocked = 3218;            // could not update: locked by another user
constexpr int kWriteConflict = 3197;     // another user changed the same data meanwhile
constexpr int kServerUnreachable = 3151; // the connection to the database server failed
constexpr int kServerCallFailed = 3146;  // a call to the database server failed
constexpr int kOverflow = 6;             // arithmetic overflow (record control code)
constexpr const char *kOverflowText = "Desbordamiento"; // its description, also in SQL errors
} // namespace dberr

// An error of the database layer: the host's number and the engine's description.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString &description);
    int number() const { return number_; }
    QString description() const { return description_; }
    // The text of the standard error box of the windows: the number, a line feed and the
    // description.
    QString boxText() const { return QString::number(number_) + u'\n' + description_; }

private:
    int number_;
    QString description_;
};

} // namespace qz
