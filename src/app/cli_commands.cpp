#include "cli_commands.h"

#include "app/cli_analysis.h"
#include "app/cli_import.h"
#include "app/cli_word.h"
#include "app/data_location.h"
#include "app/version.h"
#include "data_directory.h"
#include "exchange/archiver.h"
#include "exchange/export_flags.h"
#include "exchange/export_records.h"
#include "exchange/exporter.h"
#include "records/completeness.h"
#include "store/backup.h"
#include "store/gbk.h"
#include "store/lookups.h"
#include "store/record_store.h"
#include "store/restore.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <set>

namespace xb::app::cli {
namespace {

const char* const kUsage =
    "用法：xunbao-cli [--data 数据目录] 命令 [选项]\n"
    "      xunbao-cli --version     显示版本和所用的数据目录\n"
    "命令：\n"
    "  init                         创建数据目录（只补充缺少的表，从不覆盖）\n"
    "  list [--year 年份] [--category 1|2|3] [--format tsv|csv|xlsx --out 文件]\n"
    "                               列出成果记录（可写成电子表格）\n"
    "  check [--year 年份]          检查成果记录是否填写完整\n"
    "  stats [--year 年份,...] [--category 1,2,3] [--by 分组[,分组]] [--format ...] [--out 文件]\n"
    "                               统计成果数、经费、专利、完成人数和完整率\n"
    "  duplicates [--threshold 0.8] [--format ...] [--out 文件]\n"
    "                               查找各年份中可能重复的成果\n"
    "  export --out 文件夹 (--all | --year 年份 | --record 编号...) [--force]\n"
    "                               导出成果记录为 cgsbqy.arj\n"
    "  import 压缩包 [--overwrite] [--on-duplicate skip|keep|ask]\n"
    "                               导入 cgsbqy.arj\n"
    "  backup [--out 文件夹] [--list]\n"
    "                               备份数据目录中的成果表和本单位情况，或列出已有的备份\n"
    "  restore 备份文件夹           用备份取代数据目录中的成果表（先备份现状）\n"
    "  history [--record 编号]      列出成果的修改记录（最新的在前）\n"
    "  word --record 编号 --form applied|basic|application|certificate --out 文件\n"
    "                               输出 Word 文档\n"
    "  print --record 编号 --out 文件.pdf [--form applied|basic]\n"
    "                               输出科技成果登记表（PDF）\n"
    "  gather --db 数据库地址 [压缩包或文件夹...] [--report 文件.xlsx|文件.csv]\n"
    "                               登记机构：把各单位报送的压缩包汇总到 PostgreSQL\n"
    "不加 --data 时，数据目录是程序旁的 data 文件夹（程序可以写入时），否则是用户自己的\n"
    "数据文件夹（Linux 上为 ~/.local/share/Xunbao/data）。\n"
    "每个命令都可加 --help 查看说明。\n";

const std::map<std::string, std::string> kCommandHelp{
    {"init", "用法：xunbao-cli [--data 数据目录] init\n"
             "创建数据目录及其中所有的表和代码表；已有的表和文件保持不变。\n"},
    {"list",
     "用法：xunbao-cli [--data 数据目录] list [--year 年份] [--category 1|2|3]\n"
     "每行一项成果，以 TAB 分隔：成果管理编号、成果类型、批准登记号、成果名称、第一完成单位、\n"
     "是否填写完整（不完整时列出未完成的栏目）。\n"
     "  --format tsv|csv|xlsx   写成带表头的电子表格（代码显示为名称，另列代码）；--year 和\n"
     "                          --category 可用逗号分隔多个；xlsx 须加 --out 文件\n"
     "  --out 文件              写入文件；已有的文件须加 --force 才会覆盖\n"},
    {"stats",
     "用法：xunbao-cli [--data 数据目录] stats [--year 年份,...] [--category 1,2,3] [--by "
     "分组[,分组]]\n"
     "       [--format tsv|csv|xlsx] [--out 文件] [--force]\n"
     "按一个或两个分组统计所选年份和类型的成果数、经费实际投入额及其各项、授权和受理专利数、\n"
     "完成人数和完整率，最后一行为合计。不加 --year 时统计所有年份。分组：\n"
     "  year 年份  category 成果类型  level 成果水平  form 成果体现形式  discipline "
     "学科分类（一级）\n"
     "  hightech 所属高新科技领域  goal 社会经济目标  application 应用状态  research 研究形式\n"
     "  organization 第一完成单位\n"
     "代码表字段只按第一个代码归类。已有的文件须加 --force 才会覆盖。\n"},
    {"duplicates",
     "用法：xunbao-cli [--data 数据目录] duplicates [--threshold 0.8] [--format tsv|csv|xlsx] "
     "[--out "
     "文件] [--force]\n"
     "列出所有年份中可能重复的成果对：去掉空白和标点、全角转为半角后，成果名称的相邻字对相似度\n"
     "不低于 --threshold（默认 0.8）；或第一完成单位和第一完成人相同且名称相似度不低于 0.5。\n"},
    {"check",
     "用法：xunbao-cli [--data 数据目录] check [--year 年份]\n"
     "列出每项未填写完整的成果、未完成的栏目及其空缺的字段；有未完成的成果时退出码为 1。\n"},
    {"export",
     "用法：xunbao-cli [--data 数据目录] export --out 文件夹 (--all | --year 年份 | --record "
     "编号...) [--force]\n"
     "把选中的成果及其合作单位、完成人员、评价委员、专利和本单位情况写入 文件夹/cgsbqy.arj。\n"
     "文件夹中已有 cgsbqy.arj 时须加 --force 才会覆盖。\n"},
    {"import", "用法：xunbao-cli [--data 数据目录] import 压缩包 [--overwrite] [--on-duplicate "
               "skip|keep|ask]\n"
               "导入 cgsbqy.arj：每项成果以其年份的下一个成果管理编号存入。\n"
               "  --overwrite             覆盖导入：同名成果被导入的记录取代\n"
               "  --on-duplicate skip     跳过与已有成果同名的成果（默认）\n"
               "  --on-duplicate keep     同名成果也存入\n"
               "  --on-duplicate ask      逐项询问（从标准输入读 y/n）\n"},
    {"backup",
     "用法：xunbao-cli [--data 数据目录] backup [--out 文件夹] [--list]\n"
     "把成果表、合作单位、完成人员、评价委员、专利和本单位情况等表复制到数据目录旁的\n"
     "backups 文件夹中（以时间命名）；保留最近 30 份及最近 7 天的全部备份。\n"
     "导入、导出、年度调整、更新代码表、启动时压缩和删除成果之前，程序都会自动备份。\n"
     "  --out 文件夹   备份写到该文件夹中（如 U 盘），不计入保留的份数\n"
     "  --list         列出已有的备份：时间、操作、各年度成果数和文件夹（以 TAB 分隔）\n"},
    {"restore", "用法：xunbao-cli [--data 数据目录] restore 备份文件夹\n"
                "先检查备份（各表完整、字段与本程序的表相同），再把现状备份一份，然后用备份中的表\n"
                "一次取代数据目录中的表。恢复中途被打断时，下次打开数据目录会把恢复做完或撤回。\n"},
    {"history", "用法：xunbao-cli [--data 数据目录] history [--record 编号]\n"
                "列出成果的修改记录，最新的在前；不加 --record 时列出全部。每行以 TAB 分隔：\n"
                "时间、成果管理编号、操作、所在页面、项目、原值、新值（代码以登记表的文字显示）。\n"
                "页面储存、列表中的增删改、新增、修改主项、导入、年度调整和删除成果都会记录；\n"
                "修改记录只留在本机，不随导出或备份带走。\n"},
    {"word", "用法：xunbao-cli [--data 数据目录] word --record 编号 --form "
             "applied|basic|application|certificate --out 文件\n"
             "把成果填入数据目录中的 Word 模板，写成新文件（已有的文件不会被覆盖）：\n"
             "  applied       科技成果登记表（应用技术类）\n"
             "  basic         科技成果登记表（基础理论、软科学类）\n"
             "  application   科学技术成果鉴定申请表\n"
             "  certificate   科学技术成果鉴定证书\n"},
    {"print",
     "用法：xunbao-cli [--data 数据目录] print --record 编号 --out 文件.pdf [--form "
     "applied|basic]\n"
     "把成果的科技成果登记表全文（封面、说明、各页和附件）写成 PDF 文件（已有的文件不会被覆盖）；\n"
     "不加 --form 时按成果类型选择登记表：\n"
     "  applied       应用技术类成果（表号 CG-002）\n"
     "  basic         基础理论、软科学类成果（表号 CG-001）\n"},
    {"gather",
     "用法：xunbao-cli gather --db 数据库地址 [压缩包或文件夹...] [--report 文件.xlsx|文件.csv]\n"
     "登记机构用：把各单位报送的 cgsbqy.arj 汇总到 PostgreSQL 数据库（13 或更新的版本）。\n"
     "数据库地址按 libpq 的写法，如 postgresql://主机:5432/数据库?user=用户 或\n"
     "\"host=/run/postgresql dbname=登记\"；口令只从 PGPASSFILE 或 ~/.pgpass "
     "读取，不能写在命令行中。\n"
     "文件夹中所有以 .arj 结尾的文件（含下级文件夹）都会汇总。每个压缩包按导入的规则读入并检查，\n"
     "整包存入或整包拒绝；已汇总过的压缩包（内容相同）跳过；同一单位新报送的压缩包取代该单位\n"
     "先前报送的同编号成果。每个压缩包一行结果（以 TAB 分隔），进度写在标准错误上；\n"
     "有压缩包被拒绝时退出码为 1。\n"
     "  --report 文件   写出按省市、单位、年份、成果类型、成果水平、学科分类统计的成果数和经费，\n"
     "                  以及重复报送的成果（.xlsx 每项一张工作表，.csv 分段）\n"},
};

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>> values; // --name value...
    std::set<std::string> flags;                            // --name
};

// Options taking values; the others are flags.
const std::set<std::string> kValueOptions{"--data",         "--year",   "--category", "--out",
                                          "--on-duplicate", "--form",   "--db",       "--report",
                                          "--by",           "--format", "--threshold"};

bool parse(const std::vector<std::string>& args, Options& o, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--record") {
            while (i + 1 < args.size() && !args[i + 1].starts_with("--"))
                o.values[a].push_back(args[++i]);
            if (o.values[a].empty()) {
                err << "错误：--record 后面应有成果管理编号\n";
                return false;
            }
        } else if (kValueOptions.count(a)) {
            if (i + 1 >= args.size()) {
                err << "错误：" << a << " 后面缺少值\n";
                return false;
            }
            o.values[a].push_back(args[++i]);
        } else if (a.starts_with("--")) {
            o.flags.insert(a);
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.positional.push_back(a);
        }
    }
    return true;
}

std::string value(const Options& o, const std::string& name) {
    const auto it = o.values.find(name);
    return it == o.values.end() || it->second.empty() ? std::string() : it->second.back();
}

std::vector<std::string> valuesOf(const Options& o, const std::string& name) {
    const auto it = o.values.find(name);
    return it == o.values.end() ? std::vector<std::string>() : it->second;
}

SheetOutput sheetOutput(const Options& o) {
    return {value(o, "--format"), value(o, "--out"), o.flags.count("--force") > 0};
}

bool openStore(store::RecordStore& store, std::ostream& err) {
    if (!QFileInfo(QString::fromStdString(store.dataDirectory())).isDir()) {
        err << "错误：数据目录 " << store.dataDirectory() << " 不存在，请先运行 init\n";
        return false;
    }
    if (store::Status s = store.open(); !s) {
        err << "错误：" << s.message() << "\n";
        return false;
    }
    for (const std::string& warning : store.openingWarnings())
        err << "警告：" << warning << "\n";
    return true;
}

// Visits the records of a year (all when empty) and category (all when empty) in stored order:
// the table is read from start to end, far quicker than in number order, and what the commands
// print is put in number order afterwards (RecordLines).
store::Status forEachRecord(store::Database& db, const std::string& year,
                            const std::string& category,
                            const std::function<store::Status(const store::Cursor&)>& visit) {
    auto table = db.table("kjcg");
    if (!table) return table.error();
    store::Cursor& c = **table;
    for (c.first(); !c.eof(); c.next()) {
        if (!year.empty() && !c.text("item_4").starts_with(year)) continue;
        if (!category.empty() && store::trimmed(c.text("item_cglb")) != category) continue;
        if (store::Status s = visit(c); !s) return s;
    }
    return {};
}

// What the commands print of each record, printed in the order of the record numbers (as the
// engine orders text: by the stored bytes), records of one number in stored order.
class RecordLines {
  public:
    void add(const std::string& number, std::string lines) {
        lines_.emplace_back(store::toGbk(number), std::move(lines));
    }
    void print(std::ostream& out) {
        std::stable_sort(lines_.begin(), lines_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [number, lines] : lines_)
            out << lines;
    }

  private:
    std::vector<std::pair<std::string, std::string>> lines_;
};

// The required sections the current record leaves incomplete, with the fields that make it so.
store::Result<std::vector<std::pair<std::string, std::vector<std::string>>>>
incompleteSections(records::CompletenessChecker& checker, const store::Cursor& record) {
    const bool applied = store::trimmed(record.text("item_cglb")) == "1";
    records::MissingFields missing;
    if (store::Status s = checker.findMissing(record, applied, missing); !s) return s.error();
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    for (const auto& [section, fields] : missing.fields) {
        if (section == records::Section::Property && !applied) continue;
        out.emplace_back(records::sectionCaption(section), fields);
    }
    if (missing.noCompleter)
        out.emplace_back(records::sectionCaption(records::Section::Completers),
                         std::vector<std::string>{"没有完成人员"});
    return out;
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return text;
}

bool validYear(const std::string& year) {
    return year.empty() || (year.size() == 4 && std::all_of(year.begin(), year.end(), ::isdigit));
}

int init(const std::string& data, Streams io) {
    const std::string installation = installationDirectory().toStdString();
    if (installation.empty()) {
        io.err << "错误：找不到安装文件夹（xunbao-cli 旁的 installation，或随程序安装的 "
                  "share/xunbao/installation）\n";
        return 1;
    }
    // The directory is made first, so that no other writer works in it while it is filled.
    std::error_code ec;
    std::filesystem::create_directories(data, ec);
    auto lock = store::WriterLock::take(data, "命令 xunbao-cli init");
    if (!lock) {
        io.err << "错误：" << lock.message() << "\n";
        return 1;
    }
    auto created = install::buildDataDirectory(data, install::sourcesIn(installation));
    if (!created) {
        io.err << "错误：" << created.message() << "\n";
        return 1;
    }
    for (const std::string& name : *created)
        io.out << "已创建\t" << name << "\n";
    // Opened as the application opens it: what an interrupted import left is settled.
    store::RecordStore store(data, store::StoreUse::Write, "命令 xunbao-cli init");
    store.adoptLock(std::move(*lock));
    if (!openStore(store, io.err)) return 1;
    io.err << "数据目录 " << data << " 已就绪（新建 " << created->size() << " 个文件）\n";
    return 0;
}

int list(store::Database& db, const Options& o, Streams io) {
    if (!value(o, "--format").empty())
        return recordSheet(db, valuesOf(o, "--year"), valuesOf(o, "--category"), sheetOutput(o),
                           io);
    const std::string category = value(o, "--category");
    if (!category.empty() && category != "1" && category != "2" && category != "3") {
        io.err << "错误：--category 只能是 1、2 或 3\n";
        return 2;
    }
    records::CompletenessChecker checker(db);
    RecordLines lines;
    const store::Status listed =
        forEachRecord(db, value(o, "--year"), category, [&](const store::Cursor& c) {
            auto incomplete = incompleteSections(checker, c);
            if (!incomplete) return store::Status(incomplete.error());
            std::string state = "完整";
            if (!incomplete->empty()) {
                state = "不完整：";
                for (size_t i = 0; i < incomplete->size(); ++i)
                    state += (i ? "、" : "") + (*incomplete)[i].first;
            }
            const std::string number = c.text("item_4");
            lines.add(number, number + '\t' + c.text("item_cglb") + '\t' +
                                  oneLine(c.text("item_120")) + '\t' + oneLine(c.text("item_3")) +
                                  '\t' + oneLine(c.text("item_9")) + '\t' + state + "\n");
            return store::Status();
        });
    if (!listed) {
        io.err << "错误：" << listed.message() << "\n";
        return 1;
    }
    lines.print(io.out);
    return 0;
}

int check(store::Database& db, const Options& o, Streams io) {
    int incompleteRecords = 0, all = 0;
    records::CompletenessChecker checker(db);
    RecordLines lines;
    const store::Status checked =
        forEachRecord(db, value(o, "--year"), "", [&](const store::Cursor& c) {
            ++all;
            auto incomplete = incompleteSections(checker, c);
            if (!incomplete) return store::Status(incomplete.error());
            if (incomplete->empty()) return store::Status();
            ++incompleteRecords;
            const std::string number = c.text("item_4");
            std::string text;
            for (const auto& [section, fields] : *incomplete) {
                std::string list;
                for (size_t i = 0; i < fields.size(); ++i)
                    list += (i ? "," : "") + fields[i];
                text +=
                    number + '\t' + oneLine(c.text("item_3")) + '\t' + section + '\t' + list + "\n";
            }
            lines.add(number, std::move(text));
            return store::Status();
        });
    if (!checked) {
        io.err << "错误：" << checked.message() << "\n";
        return 1;
    }
    lines.print(io.out);
    io.err << "共检查 " << all << " 项成果，其中 " << incompleteRecords << " 项未填写完整\n";
    return incompleteRecords > 0 ? 1 : 0;
}

int exportRecords(store::Database& db, const Options& o, Streams io) {
    const std::string out = value(o, "--out");
    if (out.empty()) {
        io.err << "错误：请用 --out 指定目标文件夹\n";
        return 2;
    }
    const bool all = o.flags.count("--all") > 0;
    const std::string year = value(o, "--year");
    const auto numbersIt = o.values.find("--record");
    const int scopes =
        (all ? 1 : 0) + (year.empty() ? 0 : 1) + (numbersIt == o.values.end() ? 0 : 1);
    if (scopes != 1) {
        io.err << "错误：请在 --all、--year 和 --record 中选择一种\n";
        return 2;
    }
    const QString folder = QString::fromStdString(out);
    if (!exchange::existingPackagePath(folder).isEmpty() && !o.flags.count("--force")) {
        io.err << "错误：" << out << " 中已有 cgsbqy.arj；如需覆盖，请加 --force\n";
        return 1;
    }
    auto candidates = exchange::loadExportRecords(db);
    if (!candidates) {
        io.err << "错误：" << candidates.message() << "\n";
        return 1;
    }
    std::set<std::string> wanted;
    if (numbersIt != o.values.end())
        wanted.insert(numbersIt->second.begin(), numbersIt->second.end());
    std::vector<uint32_t> rows;
    std::set<std::string> found;
    for (const exchange::ExportRecord& r : *candidates) {
        const bool chosen = all || (!year.empty() && exchange::recordYear(r.number) == year) ||
                            wanted.count(r.number);
        if (!chosen) continue;
        rows.push_back(r.row);
        found.insert(r.number);
    }
    for (const std::string& number : wanted)
        if (!found.count(number)) {
            io.err << "错误：没有成果管理编号为 " << number << " 的成果\n";
            return 1;
        }
    if (rows.empty()) {
        io.err << "错误：没有可以导出的成果\n";
        return 1;
    }
    if (auto cleared = exchange::clearExportFlags(db); !cleared) {
        io.err << "错误：" << cleared.message() << "\n";
        return 1;
    }
    auto package =
        exchange::exportPackage(db, exchange::Archiver(), folder, rows, [&](int done, int total) {
            io.err << "\r正在导出 " << done << "/" << total << std::flush;
        });
    io.err << "\n";
    if (!package) {
        io.err << "错误：" << package.message() << "\n";
        return 1;
    }
    io.out << "已导出 " << rows.size() << " 项成果到 " << package->toStdString() << "\n";
    return 0;
}

int backup(const std::string& data, const Options& o, Streams io) {
    if (o.flags.count("--list")) {
        for (const store::BackupInfo& b : store::listBackups(data))
            io.out << b.time << "\t" << b.operation << "\t" << store::recordsPerYearText(b) << "\t"
                   << b.folder << "\n";
        return 0;
    }
    auto backup = store::backupBefore(data, "手动备份", value(o, "--out"));
    if (!backup) {
        io.err << "错误：" << backup.message() << "\n";
        return 1;
    }
    io.out << "已备份 " << backup->files.size() << " 个文件到 " << backup->folder << "\n";
    return 0;
}

int restore(store::RecordStore& store, const Options& o, Streams io) {
    if (o.positional.size() != 1) {
        io.err << "错误：restore 后面应有一个备份文件夹\n";
        return 2;
    }
    store.db().closeAll(); // the tables are replaced under this process too
    auto before = store::restoreBackup(store.dataDirectory(), o.positional.front());
    if (!before) {
        io.err << "错误：" << before.message() << "\n";
        return 1;
    }
    io.out << "已恢复备份 " << o.positional.front() << "\n恢复前的数据已备份到 " << before->folder
           << "\n";
    return 0;
}

} // namespace

int run(const std::vector<std::string>& args, const std::string& defaultData, Streams io,
        const PrintCommand& print, const GatherCommand& gather) {
    Options o;
    if (!parse(args, o, io.err)) return 2;
    const std::string data = value(o, "--data").empty() ? defaultData : value(o, "--data");
    if (o.command.empty() && o.flags.count("--version")) {
        io.out << "xunbao-cli " XB_VERSION "\n数据目录：" << data << "\n";
        return 0;
    }
    if (o.command.empty() || o.command == "help") {
        (o.command.empty() && !o.flags.count("--help") ? io.err : io.out) << kUsage;
        return o.command.empty() && !o.flags.count("--help") ? 2 : 0;
    }
    const auto help = kCommandHelp.find(o.command);
    if (help == kCommandHelp.end()) {
        io.err << "错误：未知的命令 " << o.command << "\n" << kUsage;
        return 2;
    }
    if (o.flags.count("--help")) {
        io.out << help->second;
        return 0;
    }
    // Statistics and spreadsheets take lists of years and check them themselves.
    const bool yearLists =
        o.command == "stats" || (o.command == "list" && !value(o, "--format").empty());
    if (!yearLists && !validYear(value(o, "--year"))) {
        io.err << "错误：年份应为四位数字\n";
        return 2;
    }
    // Gathering works on the authority's database, not on a data directory.
    if (o.command == "gather") {
        if (!gather) {
            io.err << "错误：此程序不能汇总压缩包\n";
            return 1;
        }
        return gather(value(o, "--db"), o.positional, value(o, "--report"), io);
    }
    if (o.command == "init") return init(data, io);

    // Commands that only read run beside the writer (the application, an import) and take no
    // lock; the others hold the data directory until they end.
    const bool reads = o.command == "list" || o.command == "check" || o.command == "word" ||
                       o.command == "print" || o.command == "stats" || o.command == "duplicates" ||
                       o.command == "history";
    store::RecordStore store(data, reads ? store::StoreUse::Read : store::StoreUse::Write,
                             "命令 xunbao-cli " + o.command);
    if (!openStore(store, io.err)) return 1;
    if (o.command == "list") return list(store.db(), o, io);
    if (o.command == "check") return check(store.db(), o, io);
    if (o.command == "stats")
        return statistics(store.db(), valuesOf(o, "--year"), valuesOf(o, "--category"),
                          value(o, "--by"), sheetOutput(o), io);
    if (o.command == "duplicates")
        return duplicates(store.db(), value(o, "--threshold"), sheetOutput(o), io);
    if (o.command == "export") return exportRecords(store.db(), o, io);
    if (o.command == "backup") return backup(data, o, io);
    if (o.command == "history") return history(store.db(), value(o, "--record"), io);
    if (o.command == "restore") return restore(store, o, io);
    if (o.command == "word")
        return wordDocument(store, value(o, "--record"), value(o, "--form"), value(o, "--out"), io);
    if (o.command == "print") {
        if (!print) {
            io.err << "错误：此程序不能输出登记表\n";
            return 1;
        }
        return print(store, value(o, "--record"), value(o, "--form"), value(o, "--out"), io);
    }
    return importPackage(store, o.positional, o.flags.count("--overwrite") > 0,
                         value(o, "--on-duplicate"), io);
}

} // namespace xb::app::cli
