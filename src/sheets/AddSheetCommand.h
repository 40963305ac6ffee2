#pragma once

// Adding a detail sheet to the open workbook: which kinds may still be added, where
// the new sheet goes (half the sheet count, a half going to the even neighbour), and
// the command itself, which inserts the sheet labelled "b" + id, makes it current,
// records it in the project's sheet list through a callback and lays it out.

#include <functional>
#include <string>
#include <vector>

namespace vantor {

class Workbook;

struct AddableSheet {
    int id;
    std::string key;     // "b" + id, as in the sheet trees
    std::string caption; // code in a ten-character field, then the name
};

// The `sheetlist` row of a sheet being added.
struct AddedSheet {
    int id;
    std::string code;
    std::string name;
};

class AddSheetCommand {
public:
    enum class Status { Added, NotAddable, AlreadyPresent };
    struct Result {
        Status status;
        int position = -1; // index of the new sheet when added
    };
    // Writes the `sheetlist` row of the new sheet; throws when it cannot.
    using SheetListWriter = std::function<void(const AddedSheet &)>;

    // Index at which a new sheet is inserted into a workbook of `sheetCount` sheets.
    static int insertPosition(int sheetCount);

    // Kinds 11 … 77 in id order, without those whose key is among `existingKeys`.
    static std::vector<AddableSheet> addableSheets(const std::vector<std::string> &existingKeys);
    // The same, taking the labels of the workbook's sheets as the existing keys.
    static std::vector<AddableSheet> addableSheets(const Workbook &workbook);

    // Adds kind `id` with the given code and name (the dialog passes the ones of the
    // caption chosen). Only kinds 11 … 77 that the workbook does not hold yet are added.
    // When the writer throws, the new sheet is removed again, the previous current sheet is
    // restored and the exception passes on. Adding a sheet is no undo step (the sheet list in
    // the project file could not follow an undo); the history of the other sheets stays.
    static Result run(Workbook &workbook, int id, const std::string &code, const std::string &name,
                      const SheetListWriter &writeSheetList);
};

} // namespace vantor
