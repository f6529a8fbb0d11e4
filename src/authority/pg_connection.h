// A connection to the authority's PostgreSQL server through libpq. libpq rather than Qt's SQL
// driver: rows go in with COPY FROM STDIN, which the Qt driver cannot drive, and a package's
// statements go to the server in one exchange. Statements and COPY streams report failure as
// Errors carrying the server's own text after a Chinese lead, never as exceptions. One
// connection serves one thread at a time.
#pragma once

#include "store/result.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace xb::authority {

// The rows of a finished query, as texts; null fields are empty texts and isNull() tells them.
class PgRows {
  public:
    explicit PgRows(PGresult* result);
    PgRows(PgRows&&) noexcept;
    ~PgRows();

    int rows() const;
    int columns() const;
    std::string name(int column) const;
    std::string text(int row, int column) const;
    bool isNull(int row, int column) const;
    // The PostgreSQL type of a column (its oid), to tell numbers from texts.
    unsigned type(int column) const;
    // The row count of an INSERT, UPDATE or DELETE.
    long long affected() const;

  private:
    PGresult* result_;
};

class PgConnection {
  public:
    // Connects with `conninfo` (a URL or key=value pairs as libpq takes them; a password comes
    // from PGPASSFILE or ~/.pgpass) and sets the client encoding to UTF-8. A conninfo that
    // carries a password is refused: it would stand in the shell history and the process list.
    static store::Result<std::unique_ptr<PgConnection>> open(const std::string& conninfo);
    ~PgConnection();

    // Runs one or more statements without parameters.
    store::Status execute(const std::string& sql);
    // Runs one statement with text parameters ($1, $2, ...; an empty optional is null),
    // yielding its rows.
    store::Result<PgRows> query(const std::string& sql,
                                const std::vector<std::optional<std::string>>& params = {});

    // Runs several statements in one exchange with the server, yielding the rows of each; the
    // first failure ends it (the server skips the statements after it).
    store::Result<std::vector<PgRows>> executeAll(const std::string& sql);
    // `text` as an SQL literal in quotes, escaped for this connection; null gives NULL.
    std::string literal(const std::optional<std::string>& text) const;

    // COPY ... FROM STDIN: begin, put text-format data in pieces, then end. abortCopy() ends it
    // with a refusal so that the server keeps nothing of it.
    store::Status beginCopy(const std::string& sql);
    store::Status putCopy(const std::string& data);
    store::Status endCopy();
    void abortCopy(const std::string& reason);

    // Whether the connection still stands (a broken one cannot serve further packages).
    bool alive() const;

  private:
    explicit PgConnection(PGconn* conn) : conn_(conn) {}
    store::Error serverError(const char* lead) const;
    PGconn* conn_;
};

// `text` as a literal of COPY's text format: backslash, TAB, LF and CR escaped.
void appendCopyText(std::string& out, std::string_view text);

} // namespace xb::authority
