#include "pg_connection.h"

#include <libpq-fe.h>

#include <cstdlib>

namespace xb::authority {
namespace {

std::string trimmedMessage(const char* text) {
    std::string message = text ? text : "";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

store::Error resultError(const char* lead, PGresult* result) {
    return store::fail(std::string(lead) + trimmedMessage(PQresultErrorMessage(result)));
}

} // namespace

PgRows::PgRows(PGresult* result) : result_(result) {}
PgRows::PgRows(PgRows&& other) noexcept : result_(other.result_) {
    other.result_ = nullptr;
}
PgRows::~PgRows() {
    if (result_) PQclear(result_);
}
int PgRows::rows() const {
    return PQntuples(result_);
}
int PgRows::columns() const {
    return PQnfields(result_);
}
std::string PgRows::name(int column) const {
    return PQfname(result_, column);
}
std::string PgRows::text(int row, int column) const {
    return std::string(PQgetvalue(result_, row, column),
                       static_cast<size_t>(PQgetlength(result_, row, column)));
}
bool PgRows::isNull(int row, int column) const {
    return PQgetisnull(result_, row, column);
}
unsigned PgRows::type(int column) const {
    return PQftype(result_, column);
}
long long PgRows::affected() const {
    const char* count = PQcmdTuples(result_);
    return count && *count ? std::atoll(count) : 0;
}

store::Result<std::unique_ptr<PgConnection>> PgConnection::open(const std::string& conninfo) {
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), &parseError);
    if (!options) {
        std::string message = trimmedMessage(parseError);
        PQfreemem(parseError);
        return store::fail("数据库地址有误：" + message);
    }
    bool password = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (std::string_view(o->keyword) == "password" && o->val && *o->val) password = true;
    PQconninfoFree(options);
    if (password)
        return store::fail("数据库地址中不能写口令：请把口令写在 PGPASSFILE 指定的文件或 "
                           "~/.pgpass 中");
    PGconn* conn = PQconnectdb(conninfo.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string message = trimmedMessage(PQerrorMessage(conn));
        PQfinish(conn);
        return store::fail("无法连接数据库服务器：" + message);
    }
    // The server's notices ("already exists, skipping") are no news to the user.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    std::unique_ptr<PgConnection> connection(new PgConnection(conn));
    if (PQsetClientEncoding(conn, "UTF8") != 0) return connection->serverError("无法设置字符集：");
    return connection;
}

PgConnection::~PgConnection() {
    PQfinish(conn_);
}

store::Error PgConnection::serverError(const char* lead) const {
    return store::fail(std::string(lead) + trimmedMessage(PQerrorMessage(conn_)));
}

bool PgConnection::alive() const {
    return PQstatus(conn_) == CONNECTION_OK;
}

store::Status PgConnection::execute(const std::string& sql) {
    PGresult* result = PQexec(conn_, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        store::Error error = resultError("数据库服务器报告：", result);
        PQclear(result);
        return error;
    }
    PQclear(result);
    return {};
}

store::Result<PgRows> PgConnection::query(const std::string& sql,
                                          const std::vector<std::optional<std::string>>& params) {
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& p : params)
        values.push_back(p ? p->c_str() : nullptr);
    PGresult* result = PQexecParams(conn_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                    values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        store::Error error = resultError("数据库服务器报告：", result);
        PQclear(result);
        return error;
    }
    return PgRows(result);
}

store::Result<std::vector<PgRows>> PgConnection::executeAll(const std::string& sql) {
    if (!PQsendQuery(conn_, sql.c_str())) return serverError("数据库服务器报告：");
    std::vector<PgRows> results;
    std::optional<store::Error> error;
    while (PGresult* result = PQgetResult(conn_)) {
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            if (!error) error = resultError("数据库服务器报告：", result);
            PQclear(result);
            continue;
        }
        results.emplace_back(result);
    }
    if (error) return *error;
    return results;
}

std::string PgConnection::literal(const std::optional<std::string>& text) const {
    if (!text) return "NULL";
    char* escaped = PQescapeLiteral(conn_, text->data(), text->size());
    if (!escaped) return "NULL";
    std::string out = escaped;
    PQfreemem(escaped);
    return out;
}

store::Status PgConnection::beginCopy(const std::string& sql) {
    PGresult* result = PQexec(conn_, sql.c_str());
    if (PQresultStatus(result) != PGRES_COPY_IN) {
        store::Error error = resultError("数据库服务器报告：", result);
        PQclear(result);
        return error;
    }
    PQclear(result);
    return {};
}

store::Status PgConnection::putCopy(const std::string& data) {
    if (PQputCopyData(conn_, data.data(), static_cast<int>(data.size())) != 1)
        return serverError("向数据库服务器传送数据失败：");
    return {};
}

store::Status PgConnection::endCopy() {
    if (PQputCopyEnd(conn_, nullptr) != 1) return serverError("向数据库服务器传送数据失败：");
    store::Status outcome;
    while (PGresult* result = PQgetResult(conn_)) {
        if (PQresultStatus(result) != PGRES_COMMAND_OK && outcome)
            outcome = resultError("数据库拒绝了压缩包的数据：", result);
        PQclear(result);
    }
    return outcome;
}

void PgConnection::abortCopy(const std::string& reason) {
    PQputCopyEnd(conn_, reason.c_str());
    while (PGresult* result = PQgetResult(conn_))
        PQclear(result);
}

void appendCopyText(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

} // namespace xb::authority
