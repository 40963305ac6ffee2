#include "sheet_component/engine/SortOrder.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <string>

namespace vantor {

namespace {

// The Chinese collator (pinyin is the default "zh" collation). Null when ICU cannot
// provide it; texts then sort by their bytes rather than not at all.
const icu::Collator *collator()
{
    static const std::unique_ptr<icu::Collator> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(icu::Locale("zh"), status));
        if (U_FAILURE(status))
            made.reset();
        return made;
    }();
    return instance.get();
}

// Bytes that compare (as unsigned bytes) the way the collator compares the texts.
std::string sortKey(std::string_view text)
{
    const icu::Collator *c = collator();
    if (!c)
        return std::string(text);
    const icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    std::string key(64, '\0');
    int32_t length = c->getSortKey(unicode, reinterpret_cast<uint8_t *>(key.data()), static_cast<int32_t>(key.size()));
    if (length > static_cast<int32_t>(key.size())) {
        key.resize(static_cast<std::size_t>(length));
        length = c->getSortKey(unicode, reinterpret_cast<uint8_t *>(key.data()), length);
    }
    key.resize(static_cast<std::size_t>(std::max(length - 1, 0))); // without the terminating zero
    return key;
}

int rank(const CellValue &v)
{
    if (v.isNumber())
        return 0;
    if (v.isText())
        return 1;
    if (v.isError())
        return 2;
    return 3;
}

} // namespace

int SortOrder::compareText(std::string_view a, std::string_view b)
{
    return sortKey(a).compare(sortKey(b));
}

std::vector<int> SortOrder::of(const std::vector<CellValue> &keys, bool ascending)
{
    struct Key {
        int rank;
        double number;
        std::string text;
    };
    std::vector<Key> prepared;
    prepared.reserve(keys.size());
    for (const CellValue &v : keys)
        prepared.push_back({rank(v), v.isNumber() ? v.number() : 0.0, v.isText() ? sortKey(v.text()) : std::string()});
    std::vector<int> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Key &ka = prepared[static_cast<std::size_t>(a)];
        const Key &kb = prepared[static_cast<std::size_t>(b)];
        if (ka.rank != kb.rank)
            return ka.rank < kb.rank;
        if (ka.rank == 0)
            return ascending ? ka.number < kb.number : kb.number < ka.number;
        if (ka.rank == 1)
            return ascending ? ka.text < kb.text : kb.text < ka.text;
        return false;
    });
    return order;
}

} // namespace vantor
