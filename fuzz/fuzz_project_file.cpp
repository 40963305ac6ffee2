// Project files (.mdb) as the program opens them: the schema check first, then
// everything the program reads of a project. A file the check accepts may still
// hold anything in its rows (wrong types, out-of-range ids, broken pages); the
// reads report that as DatabaseError and never crash.

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"

#include <cstdint>
#include <cstring>
#include <sqlite3.h>

namespace {

void readEverything(vantor::ProjectStore &store)
{
    (void)store.kind();
    (void)store.passwordHash();
    for (const auto &node : store.nodes()) {
        (void)store.signatories(node.pmid);
        (void)store.signatorySheets(node.pmid, store.kind());
    }
    (void)store.sheets();
    (void)store.detailSheets();
    (void)store.sheetData();
    (void)store.sumsById();
    (void)store.parentForNewDataNode(0);
    (void)store.newNodeId();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        // The file's bytes as the database of a connection made as every other
        // (in memory: writing a file each run would slow the search tenfold).
        vantor::Database db(":memory:", vantor::Database::Mode::ReadWriteCreate);
        auto *copy = static_cast<unsigned char *>(sqlite3_malloc64(size ? size : 1));
        if (size)
            std::memcpy(copy, data, size);
        if (sqlite3_deserialize(db.handle(), "main", copy, size, size,
                                SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) != SQLITE_OK)
            return 0;
        vantor::ProjectSchema::check(db);
        vantor::ProjectStore store(db);
        readEverything(store);
        // The first writes of a session: the kind and a folder node.
        store.setKind(vantor::ProjectKind::Summary);
        store.insertFolderNode();
        readEverything(store);
    } catch (const vantor::DatabaseError &) {
    }
    return 0;
}
