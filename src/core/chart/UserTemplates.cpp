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

std::unique_ptr<CKontoplan> templateOf(const CTallvingeDoc& doc) {
    auto mall = std::make_unique<CKontoplan>();
    mall->m_strNamn = doc.state().m_strFilnamn;
    mall->m_nAntalRes = static_cast<std::int32_t>(doc.state().m_resKonton.size());
    mall->m_nAntalBal = static_cast<std::int32_t>(doc.state().m_balKonton.size());
    for (const auto& konto : doc.state().m_allaKonton) {
        auto copy = std::make_unique<CKonto>(konto->templateRowCopy());
        copy->m_nAnvands = konto->m_nAnvands;
        mall->m_konton.push_back(std::move(copy));
    }
    mall->m_momsregler = doc.state().m_momsregler;
    return mall;
}

} // namespace

void tellFileReport(Prompter& prompter, const FileReport& report) {
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        prompter.say(report.informs(i) ? MessageKind::Information : MessageKind::Refusal, report.messages[i]);
    }
}

void sortTemplateNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto keyA = sortKey(a);
        const auto keyB = sortKey(b);
        return keyA != keyB ? keyA < keyB : a < b;
    });
}

void chooseTemplate(CTallvingeDoc& doc, const TemplateStore& templates, const std::string& name) {
    if (const CKontoplan* mall = templates.find(name)) {
        doc.applyUserTemplate(*mall);
    } else {
        doc.chooseTemplate(name);
    }
}

const CKontoplan* chosenUserTemplate(const CTallvingeDoc& doc, const TemplateStore& templates) {
    return doc.state().m_nValdMall >= 0 ? templates.find(doc.state().m_strMallnamn) : nullptr;
}

void saveChartAsTemplate(const CTallvingeDoc& doc, Prompter& prompter, TemplateStore& templates) {
    if (prompter.askOkCancel(kMsgSparasSomMall) != Answer::Ok) {
        return;
    }
    if (templates.templates().size() >= kMaxTemplates) {
        prompter.message(kMsgRedan100Mallar);
        return;
    }
    if (doc.neverSaved()) {
        prompter.message(kMsgSparaForstSomMall);
        return;
    }
    tellFileReport(prompter, templates.read());
    const auto& mallar = templates.templates();
    const auto same = std::find_if(mallar.begin(), mallar.end(), [&doc](const auto& mall) {
        return mall->m_strNamn == doc.state().m_strFilnamn;
    });
    if (same != mallar.end()) {
        prompter.message((*same)->m_strNamn);
        templates.store(templateOf(doc), static_cast<std::size_t>(same - mallar.begin()));
    } else {
        // The list in memory may have been older than the file: the limit holds for the file.
        if (templates.templates().size() >= kMaxTemplates) {
            prompter.message(kMsgRedan100Mallar);
            return;
        }
        templates.store(templateOf(doc), std::nullopt);
    }
    tellFileReport(prompter, templates.write());
}

DeleteTemplateModel::DeleteTemplateModel(TemplateStore& templates) : m_templates(templates) {}

void DeleteTemplateModel::open(Prompter& prompter) {
    tellFileReport(prompter, m_templates.read());
    m_entries.clear();
    for (const auto& mall : m_templates.templates()) {
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
    const TemplateList& mallar = m_templates.templates();
    const auto last = std::find_if(mallar.rbegin(), mallar.rend(),
                                   [&name](const auto& mall) { return mall->m_strNamn == name; });
    if (last == mallar.rend()) {
        return;
    }
    m_templates.remove(static_cast<std::size_t>(std::next(last).base() - mallar.begin()));
    tellFileReport(prompter, m_templates.write());
}

void deleteChartTemplate(Prompter& prompter, TemplateStore& templates) {
    if (prompter.askOkCancel(kMsgTasBortFranMallar) != Answer::Ok) {
        return;
    }
    DeleteTemplateModel dialog(templates);
    dialog.open(prompter);
    prompter.show(dialog);
}

} // namespace kv
