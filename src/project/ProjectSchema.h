#pragma once

// The layout of a project database: the four tables pmprop, sheetlist,
// sheetprop and sheetdata with their columns in fixed positions (the takeover
// of another project copies rows by position), amounts as integer
// ten-thousandths of a yuan, dates as ISO "yyyy-mm-dd" text. The file is marked
// with an application id and a schema version, so that a file that is not a
// project database of a version we read is refused when it is opened.

#include <cstdint>

namespace vantor {

class Database;

class ProjectSchema {
public:
    // "VANT" read as a big-endian 32-bit number.
    static constexpr int32_t kApplicationId = 0x56414E54;
    // Version 1 lacks the table nodesource; files of both versions are read, and a
    // version-1 file is brought to version 2 only when a node source is first stored.
    static constexpr int kVersion = 2;

    // Creates the four tables, row 0 of pmprop (kind given) and marks the file.
    // Used by the template generator and by tests; the database must be empty.
    static void create(Database &db, int16_t kind = 1);

    // Throws DatabaseError with a message for the user when the file is not a
    // project database of a version this program reads, or lacks a table or
    // column. Also the first statement on a newly opened file, so a file that
    // is not a database at all fails here.
    static void check(Database &db);

    // Whether the file has the table nodesource (version 2).
    static bool hasNodeSources(Database &db);
    // Adds the table nodesource to a version-1 file and marks it version 2, in one
    // savepoint (the caller's, when one is open); nothing for a version-2 file.
    static void addNodeSources(Database &db);
};

} // namespace vantor
