#include "output/form_pages.h"

#include "output/check_marks.h"
#include "output/form_builder.h"
#include "output/form_wording.h"
#include "output/text_parts.h"
#include "store/field.h"
#include "store/lookups.h"

#include <QString>

#include <algorithm>
#include <cctype>

namespace xb::output {
namespace {

std::vector<std::string> splitCells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 1;
    while (start < line.size()) {
        const size_t bar = line.find('|', start);
        if (bar == std::string::npos) break;
        cells.push_back(store::trimmed(line.substr(start, bar - start)));
        start = bar + 1;
    }
    return cells;
}

// Completer columns; 工作单位 and 对成果创造性贡献 are wide enough for a line of their wrap width
// (24 and 26 bytes applied, 22 and 24 basic) at the body size, so no line is broken again.
std::vector<double> completerWidths(PrintedForm form) {
    if (form == PrintedForm::Applied) return {9, 17, 9, 17, 20, 17, 16, 41, 44};
    return {10, 18, 10, 18, 20, 18, 17.5, 37.5, 41};
}

} // namespace

std::string FormBuilder::f(const std::string& field) const {
    return store::trimmed(r_.field(field));
}

Run FormBuilder::value(const std::string& field) const {
    return textRun(f(field), store::upperName(field));
}

Run FormBuilder::amount(const std::string& field) const {
    // The form asks for amounts in 万元 with two decimals.
    std::string shown = f(field);
    bool number = false;
    const double value = QString::fromStdString(shown).toDouble(&number);
    if (number) shown = QString::number(value, 'f', 2).toStdString();
    return textRun(shown, store::upperName(field));
}

Run FormBuilder::text(const std::string& text, const std::string& name) const {
    return textRun(text, name);
}

std::vector<Run> FormBuilder::marks(const std::string& field, bool firstOnNewLine) const {
    const std::vector<std::string> codes = markedCodes(field, r_.field(field));
    std::vector<Run> runs;
    for (const FormOption& option : formOptions(field, form_)) {
        Run run;
        run.text = option.text;
        run.mark = markBoxName(field, option.code);
        run.marked = std::find(codes.begin(), codes.end(), option.code) != codes.end();
        run.newLine = firstOnNewLine && runs.empty();
        runs.push_back(run);
    }
    return runs;
}

void FormBuilder::formNumberLine() {
    w_.line("表    号：" + formNumber(form_), 9, false, Align::Right);
    w_.skip(1);
}

void FormBuilder::section(const std::string& title) {
    Cell cell{kPageWidth, {text(title)}, Align::Left, true};
    cell.runs[0].bold = true;
    w_.row({cell}, kItemHeight);
}

void FormBuilder::item(const std::string& label, std::vector<Run> runs) {
    w_.row({textCell(kLabelWidth, label), Cell{kValueWidth, std::move(runs), Align::Left, true}},
           kItemHeight);
}

void FormBuilder::pair(const std::string& label1, Run value1, const std::string& label2,
                       Run value2) {
    const double half = (kValueWidth - kLabelWidth) / 2;
    w_.row({textCell(kLabelWidth, label1), Cell{half, {std::move(value1)}, Align::Left, true},
            textCell(kLabelWidth, label2), Cell{half, {std::move(value2)}, Align::Left, true}},
           kItemHeight);
}

void FormBuilder::pairs(const std::vector<std::pair<std::string, Run>>& items, int perRow) {
    const double width = kPageWidth / (2.0 * perRow);
    for (size_t start = 0; start < items.size(); start += static_cast<size_t>(perRow)) {
        std::vector<Cell> cells;
        for (size_t i = start; i < std::min(items.size(), start + static_cast<size_t>(perRow));
             ++i) {
            cells.push_back(textCell(width, items[i].first, "", Align::Center));
            cells.push_back(Cell{width, {items[i].second}, Align::Center, true});
        }
        w_.row(cells, kItemHeight);
    }
}

void FormBuilder::table(const std::vector<double>& widths, const std::vector<std::string>& cells,
                        bool header) {
    std::vector<Cell> row;
    for (size_t i = 0; i < cells.size(); ++i) {
        const double width = i < widths.size() ? widths[i] : kPageWidth / cells.size();
        // Codes, numbers and marks stand centred under their centred headers.
        const bool brief = QString::fromStdString(cells[i]).size() <= 3;
        Cell cell = textCell(width, cells[i], "", header || brief ? Align::Center : Align::Left);
        cell.runs[0].bold = header;
        row.push_back(cell);
    }
    w_.row(row, 6.5);
}

void FormBuilder::wordingSection(const std::string& name) {
    std::vector<double> widths;
    for (const std::string& line : formWording(name)) {
        if (line.starts_with("# ")) {
            w_.line(line.substr(2), 15, true, Align::Center);
            w_.skip(3);
        } else if (line.starts_with("## ")) {
            w_.skip(1);
            w_.line(line.substr(3), 11, true);
        } else if (line.starts_with("> ")) {
            w_.line(line.substr(2), 9);
        } else if (line == "-") {
            w_.skip(3);
        } else if (line.starts_with("|")) {
            std::vector<std::string> cells = splitCells(line);
            if (!cells.empty() && cells.front().starts_with("=")) {
                widths.clear();
                for (const std::string& c : cells)
                    widths.push_back(std::stod(c.substr(1)));
                continue;
            }
            const bool header = !cells.empty() && cells.front().starts_with("!");
            for (std::string& cell : cells)
                if (cell.starts_with("!")) cell.erase(0, 1);
            table(widths, cells, header);
        } else {
            w_.line(line, 10.5);
        }
    }
}

void FormBuilder::wordingPage(const std::string& name) {
    wordingSection(name);
}

void FormBuilder::cover() {
    // Header: the statistics notice at the left, the form's registration block at the right.
    const double top = 1;
    w_.skip(top + 1);
    for (const std::string& line : formWording("cover.notice"))
        w_.line(line, 8, false, Align::Left, "", 2, 106);
    w_.frame({0, top, 110, w_.y() - top + 1});
    const std::string block[] = {"表    号：" + formNumber(form_), "制表机关：科学技术部",
                                 "批准机关：国家统计局", "批准文号：", "有效期至：2012年12月"};
    double y = top + 1;
    for (const std::string& line : block) {
        w_.place({122, y, 68, 5}, line, 9);
        y += 5.5;
    }

    w_.place({0, 62, kPageWidth, 14}, "科 技 成 果 登 记 表", 26, true, Align::Center);
    w_.place({0, 80, kPageWidth, 9}, formSubtitle(form_), 16, false, Align::Center);

    const double labelX = 18, valueX = 62, valueW = 108, lineH = 15, size = 13;
    double row = 118;
    const auto field = [&](const std::string& label, const std::string& value,
                           const std::string& name) {
        w_.place({labelX, row, valueX - labelX, 8}, label, size);
        // One line, set smaller down to 10.5 pt; a longer value wraps into lines that stand on
        // the rule, as small as it takes to stay clear of the rule above (not below 8 pt).
        const double width = valueW - 1;
        double s = size;
        while (s > 10.5 && textWidth(value, s) > width)
            s -= 0.5;
        std::vector<std::string> lines{value};
        double lineHeight = 8;
        if (textWidth(value, s) > width) {
            for (s = 10.5;; s -= 0.5) {
                lines = breakLines(value, width, s);
                lineHeight = s * 25.4 / 72 * 1.3;
                if (static_cast<double>(lines.size()) * lineHeight <= 13 || s <= 8) break;
            }
        }
        double y = row + 8 - static_cast<double>(lines.size()) * lineHeight;
        for (const std::string& line : lines) {
            w_.place({valueX + 1, y, valueW, lineHeight}, line, s, false, Align::Left, name);
            y += lineHeight;
        }
        w_.frame({valueX, row + 8, valueW, 0});
    };
    const auto boxes = [&](const std::string& label, const std::vector<std::string>& parts,
                           const std::string& name) {
        static const char* const units[] = {"年", "月", "日"};
        w_.place({labelX, row, valueX - labelX, 8}, label, size);
        double x = valueX;
        for (size_t i = 0; i < parts.size(); ++i) {
            const double width = i == 0 ? 20 : 12;
            w_.frame({x, row, width, 8});
            w_.place({x, row + 0.5, width, 7}, parts[i], size, false, Align::Center,
                     name + "." + std::to_string(i + 1));
            x += width;
            w_.place({x + 1, row, 8, 8}, units[i], size);
            x += 10;
        }
    };
    field("成果名称:", f("item_3"), "ITEM_3");
    row += lineH;
    field("第一完成单位：", f("item_9"), "ITEM_9");
    w_.place({valueX + valueW + 1, row, 20, 8}, "（盖章）", 11);
    row += lineH;
    const auto period = coverPeriod(r_.field("item_8"));
    boxes("研究起始日期：", {period[0], period[1]}, "start");
    row += lineH;
    boxes("研究终止日期：", {period[2], period[3]}, "end");
    row += lineH;
    field("推荐单位：", f("item_128"), "ITEM_128");
    row += lineH;
    field("批准登记单位：", "", "");
    row += lineH;
    field("批准登记号：", f("item_120"), "ITEM_120");
    row += lineH;
    const auto date = coverDateParts(f("item_121"));
    boxes("批准登记日期：", {date[0], date[1], date[2]}, "registered");

    double foot = 236;
    for (const char* line :
         {"中华人民共和国科学技术部制定", "中华人民共和国国家统计局批准", "二○一一年制"}) {
        w_.place({0, foot, kPageWidth, 7}, line, 12, false, Align::Center);
        foot += 8;
    }
}

void FormBuilder::approval() {
    w_.line("批准登记单位意见", 15, true, Align::Center);
    w_.skip(3);
    const double top = w_.y();
    const double height = form_ == PrintedForm::Applied ? 80 : 150;
    w_.frame({0, top, kPageWidth, height});
    w_.place({12, top + 10, 60, 8}, "同意登记", 14);
    const double bottom = top + height;
    w_.place({95, bottom - 40, 60, 7}, "批准登记单位：", 12);
    w_.place({95, bottom - 30, 40, 7}, "负责人：", 12);
    w_.place({150, bottom - 30, 30, 7}, "（盖章）", 12);
    const auto date = approvalDateParts(f("item_121"));
    double x = 110;
    static const char* const units[] = {"年", "月", "日"};
    for (int i = 0; i < 3; ++i) {
        const double width = i == 0 ? 16 : 10;
        w_.place({x, bottom - 16, width, 7}, date[static_cast<size_t>(i)], 12, false, Align::Center,
                 "approval." + std::to_string(i + 1));
        x += width;
        w_.place({x, bottom - 16, 8, 7}, units[i], 12);
        x += 8;
    }
    w_.skip(height + 8);
    if (form_ == PrintedForm::Applied) wordingSection("annex.documents");
}

void FormBuilder::summary() {
    w_.line("附件二：“成果简介”、 “成果完成人员名单” 和“评价委员会名单”填报格式", 11, true);
    w_.skip(4);
    w_.line("成果简介", 16, true, Align::Center);
    w_.line("（800字以内）", 10.5, false, Align::Center);
    w_.skip(2);
    // The summary flows through as many pages as it needs, framed on each of them.
    size_t page = w_.pages().size() - 1;
    double top = w_.y();
    w_.skip(3);
    std::string body = r_.field("item_13_1");
    std::replace(body.begin(), body.end(), '\t', ' ');
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
        body.pop_back();
    std::vector<std::string> paragraphs;
    for (size_t start = 0; start <= body.size();) {
        size_t end = body.find('\n', start);
        if (end == std::string::npos) end = body.size();
        std::string paragraph = body.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        paragraphs.push_back(paragraph);
        start = end + 1;
    }
    for (const std::string& paragraph : paragraphs) {
        w_.line(paragraph.empty() ? " " : paragraph, 10.5, false, Align::Left, "ITEM_13_1", 4,
                kPageWidth - 8);
        for (; page + 1 < w_.pages().size(); ++page, top = 0)
            w_.pages()[page].cells.push_back({0, top, kPageWidth, kPageHeight - top});
    }
    // On a single sheet the box is drawn tall, but never so tall that the notes below it are
    // pushed onto a sheet of their own.
    const double notes = wordingHeight("summary.notes") + 5;
    const double minimum = w_.pages().size() == 1 ? 175 : 0;
    const double bottom = std::max(w_.y() + 3, std::min(top + minimum, kPageHeight - notes - 0.1));
    w_.pages()[page].cells.push_back({0, top, kPageWidth, bottom - top});
    w_.skip(bottom - w_.y() + 5);
    wordingTogether("summary.notes");
}

void FormBuilder::list(const std::string& title, const std::string& subtitle,
                       const std::vector<std::string>& headers, const std::vector<double>& widths,
                       const TextRows& rows, int perPage, int lastPage, double rowHeight,
                       const std::string& notes) {
    std::vector<Cell> header;
    for (size_t i = 0; i < headers.size(); ++i) {
        Cell cell = textCell(widths[i], headers[i], "", Align::Center);
        cell.runs[0].bold = true;
        header.push_back(cell);
    }
    const auto heading = [&] {
        w_.line(title, 16, true, Align::Center);
        if (!subtitle.empty()) w_.line(subtitle, 10, false, Align::Center);
        w_.skip(2);
        w_.row(header, 10);
    };
    // A sheet holds `perPage` rows unless the rest fits on a last one; a sheet that is full
    // before that (rows grow with their texts) sends the rest on to the next.
    const auto quotaFor = [&](size_t remaining) {
        return remaining <= static_cast<size_t>(lastPage) ? remaining
                                                          : static_cast<size_t>(perPage);
    };
    heading();
    size_t quota = quotaFor(rows.size());
    size_t onPage = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        std::vector<Cell> cells;
        for (size_t c = 0; c < widths.size(); ++c)
            cells.push_back(textCell(widths[c], rows[i][c], "", Align::Center));
        const double height = std::max(w_.rowHeight(cells), rowHeight);
        if (onPage == quota || height > w_.room() + 0.01) {
            w_.newPage();
            heading();
            onPage = 0;
            quota = quotaFor(rows.size() - i);
        }
        w_.row(cells, rowHeight);
        w_.page().rows.push_back(rows[i]);
        ++onPage;
    }
    w_.skip(3);
    wordingTogether(notes);
}

double FormBuilder::wordingHeight(const std::string& name) {
    PageWriter saved = std::move(w_);
    w_ = PageWriter(kCellSize);
    wordingSection(name);
    const double height = w_.y();
    w_ = std::move(saved);
    return height;
}

void FormBuilder::wordingTogether(const std::string& name) {
    if (wordingHeight(name) > w_.room()) w_.newPage();
    wordingSection(name);
}

void FormBuilder::completers() {
    const bool applied = form_ == PrintedForm::Applied;
    const int perPage = applied ? 19 : 18;
    list("成果完成人员名单", "（此表涉及到的知识产权问题由填报单位负责）",
         {"序号", "姓名", "性别", "出生年月", "技术职称", "文化程度", "是否留学归国", "工作单位",
          "对成果创造性贡献"},
         completerWidths(form_), completerRows(r_, form_), perPage, perPage, applied ? 10 : 10.5,
         "completers.notes");
}

void FormBuilder::committee() {
    const bool applied = form_ == PrintedForm::Applied;
    list("评价委员会名单", "",
         {"评价委员会职务", "姓名", "性别", "工作单位", "所学专业", "从事专业", "技术职称"},
         {25, 18, 10, 50, 29, 29, 29}, committeeRows(r_, form_), applied ? 21 : 22,
         applied ? 13 : 15, applied ? 11.5 : 11, "committee.notes");
}

std::vector<Page> FormBuilder::build(FormPage page) {
    switch (page) {
    case FormPage::Cover:
        cover();
        break;
    case FormPage::CoverNotes:
        wordingPage("cover.instructions");
        break;
    case FormPage::FillingNotes:
        wordingPage("filling.instructions");
        break;
    case FormPage::WritingNotes:
        wordingPage(form_ == PrintedForm::Applied ? "writing.instructions.applied"
                                                  : "writing.instructions.basic");
        break;
    case FormPage::Overview:
        overview();
        break;
    case FormPage::EvaluationNotes:
        wordingPage(form_ == PrintedForm::Applied ? "evaluation.instructions.applied"
                                                  : "evaluation.instructions.basic");
        break;
    case FormPage::Evaluation:
        evaluation();
        break;
    case FormPage::OrganizationNotes:
        wordingPage("organization.instructions");
        break;
    case FormPage::Organizations:
        organizations();
        break;
    case FormPage::Approval:
        approval();
        break;
    case FormPage::Summary:
        summary();
        break;
    case FormPage::Completers:
        completers();
        break;
    case FormPage::Committee:
        committee();
        break;
    case FormPage::ProductAnnex:
        wordingPage("annex.products");
        break;
    case FormPage::CodeAnnex:
        wordingPage("annex.codes");
        break;
    case FormPage::GoalAnnex:
        wordingPage("annex.goals");
        break;
    case FormPage::IndustryAnnex:
        wordingPage("annex.industries");
        break;
    }
    return std::move(w_.pages());
}

std::vector<Page> buildPages(const PrintRecord& record, OutputLabels& labels, PrintedForm form,
                             const PageEntry& entry) {
    std::vector<Page> pages = FormBuilder(record, labels, form).build(entry.page);
    // Only the lists number their sheets "10--1", "10--2"; a page that runs over carries its
    // own number on every sheet.
    const bool list = entry.page == FormPage::Completers || entry.page == FormPage::Committee;
    for (size_t i = 0; i < pages.size(); ++i)
        pages[i].number = entry.number.empty() || pages.size() == 1 || !list
                              ? entry.number
                              : entry.number + "--" + std::to_string(i + 1);
    return pages;
}

std::vector<Page> buildPages(const PrintRecord& record, OutputLabels& labels, PrintedForm form,
                             const std::vector<PageEntry>& entries) {
    std::vector<Page> all;
    for (const PageEntry& entry : entries) {
        std::vector<Page> pages = buildPages(record, labels, form, entry);
        all.insert(all.end(), std::make_move_iterator(pages.begin()),
                   std::make_move_iterator(pages.end()));
    }
    return all;
}

} // namespace xb::output
