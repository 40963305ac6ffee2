#include "project/NodePropertiesForm.h"

#include "common/Utf8Text.h"
#include "project/ProjectStore.h"

namespace vantor {

NodePropertiesForm NodePropertiesForm::load(const ProjectStore &store, int16_t pmid,
                                            const std::string &defaultRepresentative, std::chrono::year_month_day today)
{
    NodePropertiesForm form;
    form.pgjzr = today;
    auto node = store.node(pmid);
    if (!node)
        return form;
    const NodeProperties &p = node->properties;
    form.pmname = p.pmname.value_or("");
    form.zczydw = p.zczydw.value_or("");
    form.zcpgs = p.zcpgs.value_or("");
    form.xmfzr = p.xmfzr.value_or("");
    if (p.pgjzr)
        form.pgjzr = *p.pgjzr;
    form.frdb = p.frdb.value_or("");
    if (form.frdb == ProjectStore::kUnsetRepresentative)
        form.frdb = defaultRepresentative;
    return form;
}

std::string NodePropertiesForm::filterTyped(std::string_view text, int maxLength)
{
    std::string kept;
    for (char c : text)
        if (c != '\'')
            kept += c;
    return std::string(Utf8Text::left(kept, maxLength));
}

bool NodePropertiesForm::isComplete() const
{
    return !pmname.empty() && !zczydw.empty() && !zcpgs.empty() && !xmfzr.empty() && !frdb.empty();
}

NodeProperties NodePropertiesForm::toProperties() const
{
    NodeProperties p;
    p.pmname = pmname;
    p.zczydw = zczydw;
    p.zcpgs = zcpgs;
    p.xmfzr = xmfzr;
    p.pgjzr = pgjzr;
    p.frdb = frdb;
    return p;
}

} // namespace vantor
