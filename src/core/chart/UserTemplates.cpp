#include "chart/UserTemplates.h"

#include <algorithm>

namespace kv {

namespace {

// Sort weight of one code point as the Swedish alphabet orders it.
std::int32_t sortWeight(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') {
        cp += 0x20;
    } else if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
        cp += 0x20;
    }
    constexpr std::int32_t kLetters = 1000;
    switch (cp) {
    case 0xE5: // å
        return kLetters + 26 * 2;
    case 0xE4: // ä
    case 0xE6: // æ
        return kLetters + 27 * 2;
    case 0xF6: // ö
    case 0xF8: // ø
        return kLetters + 28 * 2;
    case 0xE9: // é
    case 0xE8: // è
        return kLetters + ('e' - 'a') * 2 + 1;
    case 0xFC: // ü
        return kLetters + ('y' - 'a') * 2 + 1;
    default:
        break;
    }
    if (cp >= U'a' && cp <= U'z') {
        return kLetters + static_cast<std::int32_t>(cp - U'a') * 2;
    }
    return cp < kLetters ? static_cast<std::int32_t>(cp) : static_cast<std::int32_t>(cp) + 2 * kLetters;
}

std::vector<std::int32_t> sortKey(const std::string& text) {
    std::vector<std::int32_t> key;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        key.push_back(sortWeight(cp));
        i += length;
    }
    return key;
}

CKonto templateRowCopy(const CKonto& konto) {
    CKonto copy;
    copy.m_nKontonr = konto.m_nKontonr;
    copy.m_strKolumn2 = konto.m_strKolumn2;
    copy.m_strKolumn3 = konto.m_strKolumn3;
    copy.m_strKolumn4 = konto.m_strKolumn4;
    copy.m_strKolumn5 = konto.m_strKolumn5;
    return copy;
}

void fillTemplate(CKontoplan& mall, const CTallvingeDoc& doc) {
    mall.m_strNamn = doc.m_strFilnamn;
    mall.m_nAntalRes = static_cast<std::int32_t>(doc.m_resKonton.size());
    mall.m_nAntalBal = static_cast<std::int32_t>(doc.m_balKonton.size());
    mall.m_konton.clear();
    for (const auto& konto : doc.m_allaKonton) {
        auto copy = std::make_unique<CKonto>(templateRowCopy(*konto));
        copy->m_nAnvands = konto->m_nAnvands;
        mall.m_konton.push_back(std::move(copy));
    }
    mall.m_momsregler = doc.m_momsregler;
}

void writeTemplateFile(CTallvingeDoc& doc, Prompter& prompter) {
    doc.m_bMallLage = 1;
    tellFileReport(prompter, writeTemplates(doc));
}

} // namespace

void tellFileReport(Prompter& prompter, const FileReport& report) {
    for (const std::string& message : report.messages) {
        prompter.message(message);
    }
}

void sortTemplateNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto keyA = sortKey(a);
        const auto keyB = sortKey(b);
        return keyA != keyB ? keyA < keyB : a < b;
    });
}

void applyUserTemplate(CTallvingeDoc& doc, std::size_t index) {
    if (index >= doc.m_mallar.size()) {
        return;
    }
    const CKontoplan& mall = *doc.m_mallar[index];
    doc.m_nValdMall = static_cast<std::int32_t>(index);
    const auto incomeRows = static_cast<std::size_t>(std::max(0, mall.m_nAntalRes));
    for (std::size_t k = 0; k < mall.m_konton.size(); ++k) {
        const CKonto& konto = *mall.m_konton[k];
        doc.m_allaKonton.push_back(std::make_unique<CKonto>(templateRowCopy(konto)));
        (k < incomeRows ? doc.m_resNummer : doc.m_balNummer).push_back(konto.m_nKontonr);
    }
    doc.m_momsregler.insert(doc.m_momsregler.end(), mall.m_momsregler.begin(), mall.m_momsregler.end());
}

void saveChartAsTemplate(CTallvingeDoc& doc, Prompter& prompter) {
    if (prompter.askOkCancel(kMsgSparasSomMall) != Answer::Ok) {
        return;
    }
    if (doc.m_mallar.size() >= kMaxTemplates) {
        prompter.message(kMsgRedan100Mallar);
        return;
    }
    if (doc.neverSaved()) {
        prompter.message(kMsgSparaForstSomMall);
        return;
    }
    tellFileReport(prompter, readTemplates(doc));
    const auto same = std::find_if(doc.m_mallar.begin(), doc.m_mallar.end(),
                                   [&doc](const auto& mall) { return mall->m_strNamn == doc.m_strFilnamn; });
    if (same != doc.m_mallar.end()) {
        prompter.message((*same)->m_strNamn);
        fillTemplate(**same, doc);
    } else {
        // The list in memory may have been older than the file: the limit holds for the file.
        if (doc.m_mallar.size() >= kMaxTemplates) {
            prompter.message(kMsgRedan100Mallar);
            return;
        }
        auto mall = std::make_unique<CKontoplan>();
        fillTemplate(*mall, doc);
        doc.m_mallar.push_back(std::move(mall));
    }
    writeTemplateFile(doc, prompter);
}

DeleteTemplateModel::DeleteTemplateModel(CTallvingeDoc& doc) : m_doc(doc) {}

void DeleteTemplateModel::open(Prompter& prompter) {
    tellFileReport(prompter, readTemplates(m_doc));
    m_entries.clear();
    for (const auto& mall : m_doc.m_mallar) {
        m_entries.push_back(mall->m_strNamn);
    }
    sortTemplateNames(m_entries);
    m_selected = m_entries.empty() ? -1 : 0;
}

void DeleteTemplateModel::select(std::int32_t index) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_entries.size()) {
        m_selected = index;
    }
}

void DeleteTemplateModel::accept(Prompter& prompter) {
    if (m_selected < 0 || static_cast<std::size_t>(m_selected) >= m_entries.size()) {
        return;
    }
    const std::string& name = m_entries[static_cast<std::size_t>(m_selected)];
    const auto last = std::find_if(m_doc.m_mallar.rbegin(), m_doc.m_mallar.rend(),
                                   [&name](const auto& mall) { return mall->m_strNamn == name; });
    if (last == m_doc.m_mallar.rend()) {
        return;
    }
    m_doc.m_mallar.erase(std::next(last).base());
    writeTemplateFile(m_doc, prompter);
}

void deleteChartTemplate(CTallvingeDoc& doc, Prompter& prompter) {
    if (prompter.askOkCancel(kMsgTasBortFranMallar) != Answer::Ok) {
        return;
    }
    DeleteTemplateModel dialog(doc);
    dialog.open(prompter);
    prompter.runDeleteTemplate(dialog);
}

} // namespace kv
