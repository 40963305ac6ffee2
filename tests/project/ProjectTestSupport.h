#pragma once

// Shared pieces of the project tests: a template project database, a small stand-in for
// the spreadsheet component whose files are plain text lists of sheet labels, a program
// folder with both templates for sessions, and an empty project in memory.

#include "project/Database.h"
#include "project/ProjectPaths.h"
#include "project/ProjectSchema.h"
#include "project/ProjectSession.h"
#include "project/ProjectStore.h"
#include "project/ProjectWorkbook.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantor::test {

inline void writeBytes(const std::string &path, size_t size, char fill = 'x')
{
    writeFile(path, std::string(size, fill));
}

inline bool exists(const std::string &path)
{
    return std::filesystem::exists(path);
}

// A project database as the template generator makes it: the schema, row 0 and
// a few sheetlist rows.
inline void makeTemplateDatabase(const std::string &path)
{
    Database db(path, Database::Mode::ReadWriteCreate);
    ProjectSchema::create(db, 1);
    ProjectStore store(db);
    store.insertSheet({1, "表2-1", "资产评估结果汇总表"});
    store.insertSheet({10, "表3-1-1", "现金盘点表"});
    store.insertSheet({16, "表3-4", "应收账款清查评估明细表"});
    store.insertSheet({78, "表11", "备抵科目明细表"});
}

// Stand-in for the component: a file is "FAKEWB" then one label per line,
// padded to at least 1024 bytes.
class FakeWorkbook : public ProjectWorkbook {
public:
    std::vector<std::string> labels{"Sheet1"};
    bool modified = false;
    bool readOnly = true;
    int shown = -1;
    bool failSave = false;
    int saves = 0;

    static void writeFile(const std::string &path, const std::vector<std::string> &labels, size_t minSize = 1024)
    {
        std::string text = "FAKEWB\n";
        for (const auto &label : labels)
            text += label + "\n";
        if (text.size() < minSize)
            text += std::string(minSize - text.size(), '#');
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
    static std::vector<std::string> standardLabels() { return {"b0", "b1", "b2", "b3", "b10", "b16", "b78"}; }

    void load(const std::string &path) override
    {
        std::istringstream in(readFile(path));
        std::string line;
        if (!std::getline(in, line) || line != "FAKEWB")
            throw std::runtime_error("文件不是工作簿文件");
        labels.clear();
        while (std::getline(in, line) && !line.empty() && line[0] != '#')
            labels.push_back(line);
        modified = false;
        shown = 0;
    }
    void save(const std::string &path) override
    {
        if (failSave)
            throw std::runtime_error("磁盘空间不足");
        ++saves;
        writeFile(path, labels);
    }
    void reset() override
    {
        labels = {"Sheet1"};
        modified = false;
        shown = 0;
    }
    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
    void setReadOnly(bool r) override { readOnly = r; }
    int sheetCount() const override { return static_cast<int>(labels.size()); }
    std::string sheetLabel(int index) const override { return labels.at(static_cast<size_t>(index)); }
    void showSheet(int index) override { shown = index; }
};

// A scratch folder holding a program folder with both templates; sessions made here work in
// folders of their own beside it.
struct ProgramFolder {
    ProgramFolder()
    {
        std::filesystem::create_directories(program);
        makeTemplateDatabase(ProjectPaths::join(program, "template.vtw"));
        FakeWorkbook::writeFile(ProjectPaths::join(program, "template.vtc"), FakeWorkbook::standardLabels());
    }

    // A session on `component` working in the folder `work` of the scratch folder.
    std::unique_ptr<ProjectSession> makeSession(ProjectWorkbook &component, const std::string &work) const
    {
        std::filesystem::create_directories(dir.file(work));
        return std::make_unique<ProjectSession>(ProjectSessionConfig{program, dir.file(work), PasswordCost::minimal()},
                                                component);
    }

    TempDir dir;
    std::string program = dir.file("program");
};

// An empty project database of the given kind in memory, with its store.
struct MemoryProject {
    explicit MemoryProject(int16_t kind = 1) : db(":memory:", Database::Mode::ReadWriteCreate), store(db)
    {
        ProjectSchema::create(db, kind);
    }
    Database db;
    ProjectStore store;
};

} // namespace vantor::test
