#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One SQL statement with its values bound in order ($1, $2, ...), all sent apart from
// the SQL text in binary form: nothing from outside ever becomes part of the SQL.
class PostgresQuery {
public:
    explicit PostgresQuery(const char* sql) : sql_(sql) {}

    PostgresQuery& Bind(std::int64_t value);
    // As bytes (bytea): the greetings' texts are in their sender's code page, not UTF-8.
    PostgresQuery& Bind(const std::string& bytes);
    // As text, for values the database compares: addresses, tokens, states. The caller
    // makes sure it is plain ASCII.
    PostgresQuery& BindText(const std::string& text);
    PostgresQuery& BindNullText();

    const char* Sql() const { return sql_; }
    int Count() const { return static_cast<int>(values_.size()); }
    const unsigned int* Types() const { return types_.data(); }
    std::vector<const char*> Values() const;
    std::vector<int> Lengths() const;

private:
    const char* sql_;
    std::vector<unsigned int> types_;
    std::vector<std::string> values_;
    std::vector<bool> nulls_;
};
