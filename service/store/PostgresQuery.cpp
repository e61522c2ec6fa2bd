#include "service/store/PostgresQuery.h"

namespace {

// The server's type ids of the values bound (pg_type).
const unsigned int Int8Type = 20;
const unsigned int ByteaType = 17;
const unsigned int TextType = 25;

} // namespace

PostgresQuery& PostgresQuery::Bind(std::int64_t value)
{
    // Binary int8 is big-endian.
    std::string bytes(8, '\0');
    const auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<char>(bits >> (56 - 8 * i));
    types_.push_back(Int8Type);
    values_.push_back(bytes);
    nulls_.push_back(false);
    return *this;
}

PostgresQuery& PostgresQuery::Bind(const std::string& bytes)
{
    types_.push_back(ByteaType);
    values_.push_back(bytes);
    nulls_.push_back(false);
    return *this;
}

PostgresQuery& PostgresQuery::BindText(const std::string& text)
{
    types_.push_back(TextType);
    values_.push_back(text);
    nulls_.push_back(false);
    return *this;
}

PostgresQuery& PostgresQuery::BindNullText()
{
    types_.push_back(TextType);
    values_.emplace_back();
    nulls_.push_back(true);
    return *this;
}

std::vector<const char*> PostgresQuery::Values() const
{
    std::vector<const char*> values;
    for (size_t i = 0; i < values_.size(); ++i)
        values.push_back(nulls_[i] ? nullptr : values_[i].data());
    return values;
}

std::vector<int> PostgresQuery::Lengths() const
{
    std::vector<int> lengths;
    for (const std::string& value : values_)
        lengths.push_back(static_cast<int>(value.size()));
    return lengths;
}
