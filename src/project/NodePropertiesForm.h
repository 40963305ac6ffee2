#pragma once

// The content of the node-properties dialog (dlgPmprop) without the widgets:
// what the dialog shows when it opens for a node, the typing rules of its
// boxes, when it may be confirmed or closed, and what OK writes.

#include "project/ProjectRecords.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

class ProjectStore;

struct NodePropertiesForm {
    static constexpr int kNameLength = 10;          // txtpm
    static constexpr int kTextLength = 25;          // txtdw, txtpgs, txtfzr
    static constexpr int kRepresentativeLength = 5; // txtfrdb
    static constexpr const char *kIncomplete = "无效字符或文本框没有输入内容。";
    static constexpr const char *kMustFill = "文本框必须输入内容。";

    std::string pmname, zczydw, zcpgs, xmfzr, frdb;
    std::chrono::year_month_day pgjzr{};

    // The fields for a node: stored values, today's date where none is
    // stored, and `defaultRepresentative` (the settings store's default) in
    // place of the placeholder "请输入". A missing node gives empty fields.
    static NodePropertiesForm load(const ProjectStore &store, int16_t pmid, const std::string &defaultRepresentative,
                                   std::chrono::year_month_day today);

    // What a text box keeps of typed or pasted text: no apostrophes, at most
    // `maxLength` characters.
    static std::string filterTyped(std::string_view text, int maxLength);

    // All five text boxes hold text: OK may write and the dialog may close.
    bool isComplete() const;

    NodeProperties toProperties() const;
};

} // namespace vantor
