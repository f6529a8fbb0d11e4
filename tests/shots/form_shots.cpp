// The printed registration forms of a filled record, for looking at their pages:
//     form_shots OUT_DIR [DATA_DIR]
// builds a data directory with one record of each form in a temporary folder and writes every
// page of the applied form to OUT_DIR/applied.pdf and of the basic form to OUT_DIR/basic.pdf,
// and an applied record whose summary and lists run over to OUT_DIR/long.pdf (pdftoppm turns
// them into pictures). With DATA_DIR the data directory is built there and kept, so that
// `xunbao-cli --data DATA_DIR print --record 2024000001 ...` prints the same records.
#include "output/form_pages.h"
#include "output/page_painter.h"
#include "sample_store.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <iostream>

namespace {

const char* const kRecord =
    "insert into kjcg (item_4, item_dqdm, item_cglb, item_3, item_9, item_8, item_14, item_123, "
    "item_210, item_125_1, item_16, item_2, item_33, item_201, item_15, item_15_1, item_12, "
    "item_124_1, item_200, item_125, item_126, item_140, item_127, item_127_1, item_149, "
    "item_141, item_142, item_142_1, item_144, item_21, item_130, item_34, item_22, item_51, "
    "item_51_1, item_51_2, item_51_3, patent_ty, item_32, item_45, item_150, item_161, "
    "item_32_1, item_160, item_420, item_37, item_38, item_39, item_40, item_60, item_62, "
    "item_41_3, item_163, item_64, item_63, item_41, item_41_2, item_61, tlinkman, item_128, "
    "item_120, item_121, item_13_1) values (:n, '.', :c, '茶树良种快速繁育技术研究与示范推广', "
    "'中国农业科学院茶叶研究所', '2005.03   至2008.12', '茶树;快速繁育;良种;示范推广', '5', '1', "
    "'1', '3', '3', '2', '2', '210', '220', 'S571', '05', '03', '01', '02;', '7', "
    "'2005BA123', '茶树良种繁育关键技术', 150.5, 100, 30.5, 20, 20, :method, "
    "'浙江省科学技术厅', '2009.01.20', '浙科鉴字[2009]第018号', '1;', '3', '2', '3', '1;2;', "
    "'1', '12', '85.6', '4;5;', '1', '11', '12345678-9', '浙江省杭州市西湖区梅灵南路9号', "
    "'310008', '0571-86650000', '0571-86650001', 'www.tricaas.com', '1', '', '2', '33', '101', "
    "'李联系', '0571-86650002', 'tea@tricaas.com', '王转让', '浙江省科学技术厅', '2009-0188', "
    "'2009-05-06', :summary)";

const char* const kSummary =
    "本成果针对茶树良种繁育周期长、成活率低的问题，系统研究了茶树短穗扦插快速繁育技术，"
    "建立了设施育苗、基质配方、水肥管理和病虫害防控的技术体系。\r\n"
    "主要技术指标：扦插成活率由百分之七十提高到百分之九十五以上，育苗周期缩短四个月，"
    "单位面积出圃量提高百分之四十。\r\n"
    "成果已在浙江、福建、湖南等省推广应用，累计繁育良种茶苗二亿株，新增产值三点二亿元。";

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: form_shots OUT_DIR [DATA_DIR]\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir dir;
    const std::string data = argc > 2 ? std::string(argv[2]) : (dir.path() + "/data").toStdString();
    const auto opened = openSampleStore(data);
    if (!opened) return 1;
    xb::store::RecordStore& store = *opened;
    xb::store::Database& db = store.db();
    const auto check = [](const auto& s) {
        if (!s) std::cerr << s.message() << "\n";
        return s.ok();
    };
    std::string longSummary;
    for (int i = 0; i < 12; ++i)
        longSummary += std::string(kSummary) + "\r\n";
    for (const auto& [number, category] :
         {std::pair{"2024000001", "1"}, {"2024000002", "2"}, {"2024000003", "1"}}) {
        const bool runsOver = std::string(number) == "2024000003";
        if (!check(db.execute(kRecord, {{"n", number},
                                        {"c", category},
                                        {"method", category[0] == '1' ? "1" : "4"},
                                        {"summary", runsOver ? longSummary : kSummary}})))
            return 1;
        for (int i = 1; i <= 9; ++i)
            check(db.execute("insert into cgwcdw (item_4, item_dqdm, item_176, item_170, "
                             "item_171, item_172, item_173, item_174) values (:n, '.', :i, "
                             ":name, :address, '310012', '张联系', :phone)",
                             {{"n", number},
                              {"i", std::to_string(i)},
                              {"address", "浙江省杭州市西湖区文三路" + std::to_string(i) + "号"},
                              {"phone", "0571-8888000" + std::to_string(i)},
                              {"name", i == 1 ? "中国科学院上海微系统与信息技术研究所"
                                              : "浙江省茶叶协作单位" + std::to_string(i)}}));
        for (int i = 1; i <= (runsOver ? 25 : 12); ++i)
            check(db.execute(
                "insert into cgwcr (item_4, item_dqdm, item_187, item_180, item_181, "
                "item_182, item_183, item_184, item_188, item_185, item_186) values "
                "(:n, '.', :i, :name, '0', '1965.04', '2', '2', '0', "
                "'中国农业科学院茶叶研究所', '主持快速繁育技术研究，提出基质配方')",
                {{"n", number}, {"i", std::to_string(i)}, {"name", "完成人" + std::to_string(i)}}));
        for (int i = 1; i <= (runsOver ? 30 : 7); ++i)
            check(db.execute("insert into jdwyhmd (item_4, item_dqdm, item_191, item_192, "
                             "item_193, item_194, item_195, item_196, item_197, item_198) values "
                             "(:n, '.', :duty, :name, '0', :order, '浙江大学农业与生物技术学院', "
                             "'茶学', '茶树栽培', :title)",
                             {{"n", number},
                              {"duty", i == 1 ? "主任" : "委员"},
                              {"name", "评委" + std::to_string(i)},
                              {"order", (i < 10 ? "0" : "") + std::to_string(i)},
                              {"title", i == 1 ? "c" : "2"}}));
        for (int i = 1; i <= 3; ++i)
            check(db.execute("insert into zlqk (item_4, item_dqdm, patent_no, patent_nam, "
                             "patent_st, patent_ty) values (:n, '.', :no, '一种茶树扦插育苗基质', "
                             ":st, '1')",
                             {{"n", number},
                              {"no", "ZL20081006" + std::to_string(i) + ".X"},
                              {"st", i == 3 ? "1" : "2"}}));
    }
    for (const auto& [number, form, name] :
         {std::tuple{"2024000001", xb::output::PrintedForm::Applied, "applied"},
          {"2024000002", xb::output::PrintedForm::Basic, "basic"},
          {"2024000003", xb::output::PrintedForm::Applied, "long"}}) {
        auto record = xb::output::loadPrintRecord(db, number, ".");
        if (!record) {
            std::cerr << record.message() << "\n";
            return 1;
        }
        xb::output::OutputLabels labels(db);
        const auto pages =
            xb::output::buildPages(*record, labels, form, xb::output::customPages(form));
        const QString path = QDir(out).filePath(QString::fromLatin1(name) + ".pdf");
        if (!check(xb::output::writePdf(pages, path, path))) return 1;
        std::cout << path.toStdString() << ": " << pages.size() << " pages\n";
    }
    return 0;
}
