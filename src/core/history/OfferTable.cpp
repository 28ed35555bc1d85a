#include "history/OfferTable.h"

#include <string_view>

#include "listview/TextIds.h"

namespace {

// Numbers one column's names. A shop's offers come together, so its company and
// city repeat from one offer to the next and are compared before they are hashed.
class ColumnNumbers {
public:
    std::uint32_t IdOf(std::string_view name) {
        if (m_hasLast && name == m_lastName) return m_lastId;
        m_lastId = m_ids.IdOf(name);
        m_lastName = name;
        m_hasLast = true;
        return m_lastId;
    }
    std::vector<std::string> Names() const { return {m_ids.Texts().begin(), m_ids.Texts().end()}; }

private:
    TextIds m_ids;
    std::string_view m_lastName;
    std::uint32_t m_lastId = 0;
    bool m_hasLast = false;
};

}  // namespace

OfferTable MakeOfferTable(const std::vector<ProductRecord>& records) {
    std::array<ColumnNumbers, 4> columns;
    OfferTable table;
    table.offers.reserve(records.size());
    for (const ProductRecord& record : records)
        table.offers.push_back({{columns[OfferTable::Product].IdOf(record.productName),
                                 columns[OfferTable::Category].IdOf(record.category),
                                 columns[OfferTable::Company].IdOf(record.companyName),
                                 columns[OfferTable::City].IdOf(record.cityName)},
                                record.stock,
                                record.price,
                                record.durability,
                                record.attack,
                                record.defense});
    for (size_t column = 0; column < columns.size(); ++column)
        table.names[column] = columns[column].Names();
    return table;
}
