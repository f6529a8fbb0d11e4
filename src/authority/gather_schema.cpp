#include "gather_schema.h"

#include "data_directory.h"
#include "store/layouts.h"

#include <filesystem>

namespace xb::authority {
namespace {

constexpr int SchemaVersion = 1;

std::string columnType(store::FieldType type) {
    switch (type) {
    case store::FieldType::Number:
        return "numeric";
    case store::FieldType::SmallInt:
    case store::FieldType::Integer:
        return "integer";
    case store::FieldType::Date:
        return "date";
    case store::FieldType::Logical:
        return "boolean";
    case store::FieldType::Character:
    case store::FieldType::Memo:
        break;
    }
    return "text";
}

std::string columns(const std::string& table) {
    std::string out;
    for (const store::FieldDef& field : store::layoutOf(table).fields)
        out += ",\n  " + columnName(field) + " " + columnType(field.type);
    return out;
}

// Version 1: packages, organizations, achievements and child rows, dictionaries, views.
std::string version1() {
    std::string sql = R"(
CREATE TABLE organization (
  id bigserial PRIMARY KEY,
  org_key text NOT NULL UNIQUE)" +
                      columns("unit") + R"(
);
CREATE TABLE package (
  id bigserial PRIMARY KEY,
  file_name text NOT NULL, -- the path the package was gathered from
  sha256 text NOT NULL UNIQUE,
  organization_id bigint REFERENCES organization(id),
  received timestamptz NOT NULL DEFAULT now(),
  achievements integer NOT NULL DEFAULT 0,
  cgwcdw_rows integer NOT NULL DEFAULT 0,
  cgwcr_rows integer NOT NULL DEFAULT 0,
  jdwyhmd_rows integer NOT NULL DEFAULT 0,
  zlqk_rows integer NOT NULL DEFAULT 0,
  replaced integer NOT NULL DEFAULT 0
);
CREATE TABLE kjcg (
  package_id bigint NOT NULL REFERENCES package(id),
  organization_id bigint REFERENCES organization(id))" +
                      columns("kjcg") + R"(
);
CREATE UNIQUE INDEX kjcg_key ON kjcg (package_id, "item_4", "item_dqdm");
CREATE INDEX kjcg_organization ON kjcg (organization_id, "item_4", "item_dqdm");
)";
    for (const char* child : {"cgwcdw", "cgwcr", "jdwyhmd", "zlqk"}) {
        sql += "CREATE TABLE " + std::string(child) +
               " (\n  package_id bigint NOT NULL REFERENCES package(id)" + columns(child) +
               "\n);\n";
        sql += "CREATE INDEX " + std::string(child) + "_key ON " + child +
               " (package_id, \"item_4\", \"item_dqdm\");\n";
    }
    sql += R"(
CREATE TABLE province (code text PRIMARY KEY, name text NOT NULL);
CREATE TABLE xkfl (jb text NOT NULL, xxdm text NOT NULL, xxmc text NOT NULL);
CREATE TABLE zdxx (zddm text NOT NULL, xxdm text NOT NULL, xxmc text NOT NULL);

-- Every gathered achievement with the organization that sent it.
CREATE VIEW achievement_source AS
SELECT k.*, p.file_name, p.received, o.org_key, btrim(o."item_9") AS organization_name,
       btrim(o."item_64") AS organization_province
FROM kjcg k JOIN package p ON p.id = k.package_id
LEFT JOIN organization o ON o.id = k.organization_id;

CREATE VIEW by_province AS
SELECT coalesce(a.organization_province, '') AS "省市代码", coalesce(pr.name, '') AS "省市",
       count(*) AS "成果数", coalesce(sum(a."item_149"), 0) AS "经费总计"
FROM achievement_source a LEFT JOIN province pr ON pr.code = a.organization_province
GROUP BY 1, 2 ORDER BY 1;

CREATE VIEW by_organization AS
SELECT coalesce(a.org_key, '') AS "单位标识", coalesce(a.organization_name, '') AS "单位名称",
       count(*) AS "成果数", coalesce(sum(a."item_149"), 0) AS "经费总计"
FROM achievement_source a GROUP BY 1, 2 ORDER BY 1;

CREATE VIEW by_year AS
SELECT left(btrim(a."item_4"), 4) AS "年份", count(*) AS "成果数",
       coalesce(sum(a."item_149"), 0) AS "经费总计"
FROM achievement_source a GROUP BY 1 ORDER BY 1;

CREATE VIEW by_category AS
SELECT btrim(a."item_cglb") AS "成果类型代码",
       CASE btrim(a."item_cglb") WHEN '1' THEN '应用技术' WHEN '2' THEN '软科学'
            WHEN '3' THEN '基础理论' ELSE '' END AS "成果类型",
       count(*) AS "成果数", coalesce(sum(a."item_149"), 0) AS "经费总计"
FROM achievement_source a GROUP BY 1, 2 ORDER BY 1;

CREATE VIEW by_level AS
SELECT btrim(a."item_2") AS "成果水平代码", coalesce(z.xxmc, '') AS "成果水平",
       count(*) AS "成果数", coalesce(sum(a."item_149"), 0) AS "经费总计"
FROM achievement_source a
LEFT JOIN zdxx z ON z.zddm = 'item_2' AND z.xxdm = btrim(a."item_2")
GROUP BY 1, 2 ORDER BY 1;

-- The first level of the discipline classification is the first three digits of the code.
CREATE VIEW by_discipline AS
SELECT left(btrim(a."item_15"), 3) AS "学科代码", coalesce(x.xxmc, '') AS "学科",
       count(*) AS "成果数", coalesce(sum(a."item_149"), 0) AS "经费总计"
FROM achievement_source a
LEFT JOIN xkfl x ON x.jb = '1' AND x.xxdm = left(btrim(a."item_15"), 3)
GROUP BY 1, 2 ORDER BY 1;

-- The import's duplicate rule over every package: the same name and first completing
-- organization, sent more than once or by more than one organization.
CREATE VIEW duplicates AS
SELECT btrim(a."item_3") AS "成果名称", btrim(a."item_9") AS "第一完成单位",
       count(*) AS "份数", count(DISTINCT a.organization_id) AS "报送单位数",
       string_agg(DISTINCT coalesce(a.organization_name, ''), '；') AS "报送单位",
       string_agg(btrim(a."item_4") || '（' || a.file_name || '）', '；'
                  ORDER BY a.file_name, a."item_4") AS "成果管理编号"
FROM achievement_source a
WHERE btrim(a."item_3") <> ''
GROUP BY 1, 2 HAVING count(*) > 1 ORDER BY 1, 2;
)";
    return sql;
}

} // namespace

const std::vector<GatheredTable>& gatheredTables() {
    static const std::vector<GatheredTable> tables{
        {"KJCG.TXT", "kjcg", true},    {"CGWCDW.TXT", "cgwcdw", false},
        {"CGWCR.TXT", "cgwcr", false}, {"JDWYHMD.TXT", "jdwyhmd", false},
        {"ZLQK.TXT", "zlqk", false},
    };
    return tables;
}

std::string columnName(const store::FieldDef& field) {
    return "\"" + store::lowerName(field.name) + "\"";
}

const std::vector<ReportView>& reportViews() {
    static const std::vector<ReportView> views{
        {"by_province", "按省市统计"},    {"by_organization", "按单位统计"},
        {"by_year", "按年份统计"},        {"by_category", "按成果类型统计"},
        {"by_level", "按成果水平统计"},   {"by_discipline", "按学科分类（一级）统计"},
        {"duplicates", "重复报送的成果"},
    };
    return views;
}

store::Status migrateSchema(PgConnection& db) {
    const std::string schema = GatherSchema;
    // One program migrates at a time; the lock ends with the transaction.
    if (auto s = db.execute("BEGIN; SELECT pg_advisory_xact_lock(7340034);"
                            "CREATE SCHEMA IF NOT EXISTS " +
                            schema + "; SET LOCAL search_path = " + schema +
                            "; CREATE TABLE IF NOT EXISTS xunbao_schema_version "
                            "(version integer NOT NULL);");
        !s) {
        (void)db.execute("ROLLBACK");
        return s;
    }
    auto current = db.query("SELECT coalesce(max(version), 0) FROM xunbao_schema_version");
    if (!current) {
        (void)db.execute("ROLLBACK");
        return current.error();
    }
    const int version = std::stoi(current->text(0, 0));
    if (version > SchemaVersion) {
        (void)db.execute("ROLLBACK");
        return store::fail("数据库中的汇总表是更新版本的程序建立的（版本 " +
                           std::to_string(version) + "），请使用新版本的程序");
    }
    std::string steps;
    if (version < 1) steps += version1();
    if (!steps.empty())
        steps += "DELETE FROM xunbao_schema_version; INSERT INTO xunbao_schema_version VALUES (" +
                 std::to_string(SchemaVersion) + ");";
    steps += "COMMIT;";
    if (auto s = db.execute(steps); !s) {
        (void)db.execute("ROLLBACK");
        return store::fail("无法建立汇总表：" + s.message());
    }
    return {};
}

store::Status loadDictionaries(PgConnection& db, const std::string& rowsFolder) {
    struct Dictionary {
        const char* file;
        const char* table;
        int columns;
    };
    const Dictionary dictionaries[] = {
        {"province.tsv", "province", 2}, {"xkfl.tsv", "xkfl", 3}, {"zdxx.tsv", "zdxx", 3}};
    if (auto s = db.execute(std::string("BEGIN; SET LOCAL search_path = ") + GatherSchema); !s)
        return s;
    for (const Dictionary& d : dictionaries) {
        auto rows = install::readRowsFile((std::filesystem::path(rowsFolder) / d.file).string());
        if (!rows) {
            (void)db.execute("ROLLBACK");
            return store::fail("无法读取代码表 " + std::string(d.file) + "：" + rows.message());
        }
        std::string data;
        for (const auto& row : rows->rows) {
            for (int c = 0; c < d.columns; ++c) {
                if (c) data += '\t';
                if (static_cast<size_t>(c) < row.size()) appendCopyText(data, row[c]);
            }
            data += '\n';
        }
        store::Status s = db.execute("DELETE FROM " + std::string(d.table));
        if (s) s = db.beginCopy("COPY " + std::string(d.table) + " FROM STDIN");
        if (s) s = db.putCopy(data);
        if (s) s = db.endCopy();
        if (!s) {
            (void)db.execute("ROLLBACK");
            return s;
        }
    }
    return db.execute("COMMIT");
}

} // namespace xb::authority
