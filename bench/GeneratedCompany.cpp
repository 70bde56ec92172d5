#include "GeneratedCompany.h"

#include "model/Amount.h"

#include <array>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace kv::bench {

namespace {

constexpr int kYear = 2023;
constexpr std::size_t kChartAccounts = 250;
constexpr std::size_t kVatRuleRows = 54; // the rules dialog always approves this many

struct Account {
    const char* number;
    const char* name;
};

struct Group {
    char letter;
    const char* sumName;
    std::vector<Account> accounts;
};

ChartRowTexts chartRow(std::string number, std::string name, std::string group = {}, std::string sum = {},
                       std::string total = {}, std::string mark = {}) {
    return {std::move(number), std::move(name),  std::move(group),
            std::move(sum),    std::move(total), std::move(mark)};
}

void appendGroup(std::vector<ChartRowTexts>& rows, const Group& group) {
    const std::string letter(1, group.letter);
    for (const Account& account : group.accounts) {
        rows.push_back(chartRow(account.number, account.name, letter));
    }
    rows.push_back(chartRow("", group.sumName, "", letter));
    rows.push_back(chartRow("", ""));
}

const std::vector<Group>& incomeGroups() {
    static const std::vector<Group> groups = {
        {'a',
         "Sa nettoomsättning",
         {{"3000", "Försäljning inom Sverige"},
          {"3001", "Försäljning varor 25 %"},
          {"3002", "Försäljning varor 12 %"},
          {"3003", "Försäljning varor 6 %"},
          {"3004", "Försäljning varor momsfri"},
          {"3011", "Försäljning tjänster 25 %"},
          {"3012", "Försäljning tjänster 12 %"},
          {"3013", "Försäljning tjänster 6 %"},
          {"3040", "Försäljning av tjänster"},
          {"3041", "Konsultarvoden"},
          {"3050", "Försäljning kurser"},
          {"3100", "Försäljning varor utanför Sverige"},
          {"3105", "Försäljning varor utanför EU"},
          {"3106", "Försäljning varor till EU-land"},
          {"3108", "Försäljning tjänster till EU-land"},
          {"3200", "Försäljning VMB"},
          {"3500", "Fakturerade kostnader"},
          {"3510", "Fakturerat emballage"},
          {"3520", "Fakturerade frakter"},
          {"3540", "Faktureringsavgifter"},
          {"3590", "Övriga fakturerade kostnader"},
          {"3600", "Rörelsens sidointäkter"},
          {"3610", "Försäljning av material"},
          {"3700", "Intäktskorrigeringar"},
          {"3731", "Lämnade kassarabatter"},
          {"3740", "Öres- och kronutjämning"}}},
        {'b',
         "Sa övriga rörelseintäkter",
         {{"3900", "Övriga rörelseintäkter"},
          {"3910", "Hyres- och arrendeintäkter"},
          {"3911", "Hyresintäkter"},
          {"3920", "Provisionsintäkter"},
          {"3960", "Valutakursvinster"},
          {"3970", "Vinst avyttring inventarier"},
          {"3980", "Erhållna offentliga stöd"},
          {"3990", "Övriga ersättningar och intäkter"}}},
        {'c',
         "Sa varor, material och tjänster",
         {{"4000", "Inköp av varor från Sverige"},
          {"4010", "Inköp material och varor"},
          {"4056", "Inköp av varor från EU 25 %"},
          {"4090", "Frakter och transporter"},
          {"4200", "Sålda varor VMB"},
          {"4400", "Momspliktiga inköp i Sverige"},
          {"4500", "Övriga momspliktiga inköp"},
          {"4531", "Import tjänster utanför EU"},
          {"4600", "Legoarbeten, underentreprenader"},
          {"4700", "Reduktion av inköpspriser"},
          {"4730", "Erhållna kassarabatter"},
          {"4900", "Förändring av lager"},
          {"4960", "Förändring av lager av varor"},
          {"4990", "Lager och pågående arbeten"}}},
        {'d',
         "Sa övriga externa kostnader",
         {{"5010", "Lokalhyra"},
          {"5020", "El för belysning"},
          {"5030", "Värme"},
          {"5040", "Vatten och avlopp"},
          {"5060", "Städning och renhållning"},
          {"5070", "Reparation av lokaler"},
          {"5090", "Övriga lokalkostnader"},
          {"5120", "El för drift"},
          {"5170", "Underhåll av fastighet"},
          {"5191", "Fastighetsskatt"},
          {"5210", "Hyra av maskiner"},
          {"5220", "Hyra av inventarier"},
          {"5250", "Hyra av datorer"},
          {"5410", "Förbrukningsinventarier"},
          {"5420", "Programvaror"},
          {"5460", "Förbrukningsmaterial"},
          {"5480", "Arbetskläder"},
          {"5500", "Reparation och underhåll"},
          {"5611", "Drivmedel för personbilar"},
          {"5612", "Försäkring personbilar"},
          {"5613", "Underhåll av personbilar"},
          {"5615", "Leasing av personbilar"},
          {"5700", "Frakter och transporter"},
          {"5800", "Resekostnader"},
          {"5810", "Biljetter"},
          {"5830", "Kost och logi"},
          {"5900", "Reklam och PR"},
          {"5910", "Annonsering"},
          {"5930", "Reklamtrycksaker"},
          {"6040", "Kontokortsavgifter"},
          {"6060", "Kreditförsäljningskostnader"},
          {"6071", "Representation, avdragsgill"},
          {"6072", "Representation, ej avdragsgill"},
          {"6090", "Övriga försäljningskostnader"},
          {"6100", "Kontorsmateriel och trycksaker"},
          {"6110", "Kontorsmateriel"},
          {"6150", "Trycksaker"},
          {"6200", "Tele och post"},
          {"6211", "Fast telefoni"},
          {"6212", "Mobiltelefon"},
          {"6230", "Datakommunikation"},
          {"6250", "Postbefordran"},
          {"6310", "Företagsförsäkringar"},
          {"6350", "Förluster på kundfordringar"},
          {"6360", "Garantikostnader"},
          {"6380", "Förluster på fordringar"},
          {"6420", "Ersättningar till revisor"},
          {"6530", "Redovisningstjänster"},
          {"6540", "IT-tjänster"},
          {"6550", "Konsultarvoden"},
          {"6570", "Bankkostnader"},
          {"6590", "Övriga externa tjänster"},
          {"6800", "Inhyrd personal"},
          {"6910", "Licensavgifter och royalties"},
          {"6950", "Tillsynsavgifter myndigheter"},
          {"6970", "Tidningar och facklitteratur"},
          {"6980", "Föreningsavgifter"},
          {"6990", "Övriga externa kostnader"},
          {"6991", "Övriga kostnader, avdragsgilla"},
          {"6992", "Övriga kostnader, ej avdragsgilla"}}},
        {'e',
         "Sa personalkostnader",
         {{"7010", "Löner till kollektivanställda"},
          {"7082", "Sjuklöner kollektivanställda"},
          {"7090", "Förändring semesterlöneskuld"},
          {"7210", "Löner till tjänstemän"},
          {"7220", "Löner till företagsledare"},
          {"7285", "Arvoden till styrelseledamöter"},
          {"7290", "Semesterlöneskuld tjänstemän"},
          {"7331", "Skattefria bilersättningar"},
          {"7385", "Kostnader för förmån av bil"},
          {"7410", "Pensionsförsäkringspremier"},
          {"7510", "Arbetsgivaravgifter 31,42 %"},
          {"7519", "Sociala avgifter semesterlöner"},
          {"7530", "Särskild löneskatt"},
          {"7570", "Arbetsmarknadsförsäkringar"},
          {"7610", "Utbildning"},
          {"7620", "Sjuk- och hälsovård"},
          {"7631", "Personalrepresentation"},
          {"7690", "Övriga personalkostnader"}}},
        {'f',
         "Sa avskrivningar",
         {{"7820", "Avskrivningar på byggnader"},
          {"7831", "Avskrivningar på maskiner"},
          {"7832", "Avskrivningar på inventarier"},
          {"7834", "Avskrivningar på bilar"},
          {"7835", "Avskrivningar på datorer"}}},
        {'g',
         "Sa finansiella poster",
         {{"8300", "Ränteintäkter"},
          {"8310", "Ränteintäkter omsättningstillg."},
          {"8314", "Skattefria ränteintäkter"},
          {"8330", "Valutakursdifferenser"},
          {"8400", "Räntekostnader"},
          {"8410", "Räntor långfristiga skulder"},
          {"8420", "Räntor kortfristiga skulder"},
          {"8423", "Kostnadsränta skattekonto"},
          {"8490", "Övriga skuldrelaterade poster"}}},
        {'h',
         "Sa bokslutsdispositioner och skatt",
         {{"8810", "Förändring av periodiseringsfond"},
          {"8850", "Förändring av överavskrivningar"},
          {"8910", "Skatt på årets resultat"}}},
    };
    return groups;
}

const std::vector<Group>& assetGroups() {
    static const std::vector<Group> groups = {
        {'i',
         "Sa immateriella anläggningstillgångar",
         {{"1010", "Balanserade utgifter"},
          {"1019", "Ack avskr balanserade utgifter"},
          {"1030", "Patent"},
          {"1050", "Goodwill"},
          {"1059", "Ack avskrivningar goodwill"}}},
        {'j',
         "Sa materiella anläggningstillgångar",
         {{"1110", "Byggnader"},
          {"1119", "Ack avskrivningar byggnader"},
          {"1130", "Mark"},
          {"1150", "Markanläggningar"},
          {"1210", "Maskiner och tekniska anl."},
          {"1219", "Ack avskrivningar maskiner"},
          {"1220", "Inventarier och verktyg"},
          {"1229", "Ack avskrivningar inventarier"},
          {"1240", "Bilar och transportmedel"},
          {"1249", "Ack avskrivningar bilar"},
          {"1250", "Datorer"},
          {"1259", "Ack avskrivningar datorer"},
          {"1290", "Övriga materiella tillgångar"}}},
        {'k',
         "Sa finansiella anläggningstillgångar",
         {{"1310", "Andelar i koncernföretag"},
          {"1350", "Andelar i andra företag"},
          {"1380", "Andra långfristiga fordringar"},
          {"1385", "Kapitalförsäkring"}}},
        {'l',
         "Sa varulager",
         {{"1400", "Lager av råvaror"},
          {"1410", "Lager av förnödenheter"},
          {"1440", "Produkter i arbete"},
          {"1460", "Lager av handelsvaror"},
          {"1470", "Pågående arbeten"},
          {"1480", "Förskott för varor"}}},
        {'m',
         "Sa kortfristiga fordringar",
         {{"1510", "Kundfordringar"},
          {"1513", "Kundfordringar - delad faktura"},
          {"1515", "Osäkra kundfordringar"},
          {"1519", "Nedskrivning kundfordringar"},
          {"1610", "Fordringar hos anställda"},
          {"1611", "Reseförskott"},
          {"1613", "Övriga förskott"},
          {"1630", "Skattekonto"},
          {"1640", "Skattefordringar"},
          {"1650", "Momsfordran"},
          {"1680", "Andra kortfristiga fordringar"},
          {"1690", "Ej inbetalt aktiekapital"},
          {"1710", "Förutbetalda hyreskostnader"},
          {"1720", "Förutbetalda leasingavgifter"},
          {"1730", "Förutbetalda försäkringar"},
          {"1750", "Upplupna hyresintäkter"},
          {"1790", "Övriga förutbetalda kostnader"}}},
        {'n',
         "Sa kortfristiga placeringar",
         {{"1810", "Andelar i börsnoterade företag"}, {"1880", "Andra kortfristiga placeringar"}}},
        {'o',
         "Sa kassa och bank",
         {{"1910", "Kassa"},
          {"1920", "PlusGiro"},
          {"1930", "Företagskonto"},
          {"1940", "Övriga bankkonton"},
          {"1950", "Bankcertifikat"},
          {"1960", "Koncernkonto"}}},
    };
    return groups;
}

const std::vector<Group>& liabilityGroups() {
    static const std::vector<Group> groups = {
        {'q',
         "Sa eget kapital",
         {{"2081", "Aktiekapital"},
          {"2085", "Uppskrivningsfond"},
          {"2086", "Reservfond"},
          {"2090", "Årets resultat"},
          {"2091", "Balanserad vinst eller förlust"},
          {"2098", "Vinst eller förlust föreg. år"}}},
        {'r',
         "Sa obeskattade reserver",
         {{"2110", "Periodiseringsfonder"},
          {"2123", "Periodiseringsfond 2023"},
          {"2150", "Ackumulerade överavskrivningar"}}},
        {'s',
         "Sa avsättningar",
         {{"2210", "Avsättningar för pensioner"},
          {"2220", "Avsättningar för garantier"},
          {"2250", "Övriga avsättningar för skatter"}}},
        {'t',
         "Sa långfristiga skulder",
         {{"2310", "Obligations- och förlagslån"},
          {"2330", "Checkräkningskredit"},
          {"2350", "Skulder till kreditinstitut"},
          {"2360", "Skulder till koncernföretag"},
          {"2390", "Övriga långfristiga skulder"},
          {"2393", "Lån från närstående personer"}}},
        {'u',
         "Sa kortfristiga skulder",
         {{"2410", "Andra kortfristiga låneskulder"},
          {"2417", "Kortfristig del av lån"},
          {"2420", "Förskott från kunder"},
          {"2440", "Leverantörsskulder"},
          {"2441", "Leverantörsskulder - delad"},
          {"2445", "Tvistiga leverantörsskulder"},
          {"2510", "Skatteskulder"},
          {"2512", "Beräknad inkomstskatt"},
          {"2514", "Beräknad särskild löneskatt"},
          {"2518", "Betald F-skatt"},
          {"2610", "Utgående moms 25 %"},
          {"2611", "Utgående moms försäljning 25 %"},
          {"2620", "Utgående moms 12 %"},
          {"2621", "Utgående moms försäljning 12 %"},
          {"2630", "Utgående moms 6 %"},
          {"2631", "Utgående moms försäljning 6 %"},
          {"2640", "Ingående moms"},
          {"2641", "Debiterad ingående moms"},
          {"2645", "Beräknad ingående moms"},
          {"2650", "Redovisningskonto för moms"},
          {"2710", "Personalskatt"},
          {"2730", "Lagstadgade sociala avgifter"},
          {"2731", "Avräkning sociala avgifter"},
          {"2732", "Avräkning särskild löneskatt"},
          {"2740", "Avtalade sociala avgifter"},
          {"2790", "Övriga löneavdrag"},
          {"2810", "Avräkning för factoring"},
          {"2820", "Skulder till anställda"},
          {"2840", "Kortfristiga låneskulder"},
          {"2890", "Övriga kortfristiga skulder"},
          {"2910", "Upplupna löner"},
          {"2920", "Upplupna semesterlöner"},
          {"2940", "Upplupna sociala avgifter"},
          {"2960", "Upplupna räntekostnader"},
          {"2970", "Förutbetalda intäkter"},
          {"2990", "Övriga upplupna kostnader"}}},
    };
    return groups;
}

// ---- the books ----

const std::array<const char*, 32> kCounterparts = {
    "Öresunds Bygg AB",       "Lindqvist & Söner HB", "Norrlands Trä AB",      "Café Åkern",
    "Bergström Konsult",      "Hälsinge Maskin AB",   "Göta Elservice AB",     "Nilssons Måleri",
    "Kontorsmaterial i Umeå", "Skärgårdens Varv AB",  "Fjällbo Fastigheter",   "Ström & Co Revision",
    "Dalarnas Åkeri AB",      "Väst IT-partner AB",   "Söderberg Redovisning", "Ljungby Plåt AB",
    "Mälardalens Städ AB",    "Karlsson Transport",   "Östgöta Tryck AB",      "Blomsterhallen i Visby",
    "Kvarnbyns Bageri",       "Höglund Data AB",      "Jämtlands Energi AB",   "Sjöberg & Partners",
    "Ekdahls Järnhandel",     "Värmlands Verktyg AB", "Åhlén Förlag AB",       "Norrtälje Mekaniska",
    "Tellus Telekom AB",      "Brandt Försäkring",    "Almqvist Bil AB",       "Roslagens Fisk AB"};

const std::array<const char*, 16> kGoods = {
    "konsulttimmar",  "material",         "servicearbete", "installation", "reservdelar", "transport",
    "utbildningsdag", "licensavgift",     "kontorsvaror",  "hyra lokal",   "underhåll",   "programvara",
    "arbetskläder",   "förbrukningsvara", "frakt",         "resekostnad"};

const std::array<const char*, 12> kMonthNames = {"januari",   "februari", "mars",     "april",
                                                 "maj",       "juni",     "juli",     "augusti",
                                                 "september", "oktober",  "november", "december"};

constexpr std::array<int, 12> kMonthDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct Date {
    int day;
    int month;
};

// Voucher i of count, spread evenly and in order over the year.
Date dateOf(int index, int count) {
    int dayOfYear = static_cast<int>(static_cast<long long>(index) * 365 / count);
    int month = 0;
    while (dayOfYear >= kMonthDays[static_cast<std::size_t>(month)]) {
        dayOfYear -= kMonthDays[static_cast<std::size_t>(month)];
        ++month;
    }
    return {dayOfYear + 1, month + 1};
}

// Öre amounts in [low, high] kronor with öre.
class Amounts {
public:
    explicit Amounts(std::uint32_t seed) : m_random(seed) {}
    Ore between(Ore lowKronor, Ore highKronor) {
        std::uniform_int_distribution<Ore> pick(lowKronor * 100, highKronor * 100);
        return pick(m_random);
    }
    std::size_t index(std::size_t size) {
        std::uniform_int_distribution<std::size_t> pick(0, size - 1);
        return pick(m_random);
    }
    int percent() { return static_cast<int>(index(100)); }

private:
    std::mt19937 m_random;
};

Ore vatOf(Ore net, int rate) {
    return (net * rate + 50) / 100;
}

struct PlannedLine {
    std::int32_t account;
    Ore debit;
    Ore credit;
    std::string text;
};

struct PlannedVoucher {
    std::string text;
    std::array<PlannedLine, 4> lines;
};

class VoucherPlanner {
public:
    explicit VoucherPlanner(std::uint32_t seed) : m_amounts(seed) {
        for (const Group* group : {&incomeGroups()[2], &incomeGroups()[3]}) {
            for (const Account& account : group->accounts) {
                m_costAccounts.push_back(readWholeNumber(account.number));
            }
        }
    }

    PlannedVoucher next(int vernr, const Date& date) {
        const int kind = m_amounts.percent();
        if (kind < 30) {
            return customerInvoice(vernr);
        }
        if (kind < 50) {
            return customerPayment();
        }
        if (kind < 75) {
            return supplierInvoice(vernr);
        }
        if (kind < 88) {
            return supplierPayment();
        }
        if (kind < 93) {
            return salaries(date);
        }
        return otherVoucher(date);
    }

private:
    const char* counterpart() { return kCounterparts[m_amounts.index(kCounterparts.size())]; }
    const char* goods() { return kGoods[m_amounts.index(kGoods.size())]; }
    std::string invoiceNumber() { return std::to_string(10000 + m_amounts.index(90000)); }

    PlannedVoucher customerInvoice(int vernr) {
        static constexpr std::array<std::array<std::int32_t, 3>, 3> kSales = {
            {{3001, 3011, 2611}, {3002, 3012, 2621}, {3003, 3013, 2631}}};
        static constexpr std::array<int, 3> kRates = {25, 12, 6};
        const int pick = m_amounts.percent();
        const std::size_t kind = pick < 70 ? 0 : pick < 90 ? 1 : 2;
        const Ore goodsNet = m_amounts.between(50, 40000);
        const Ore serviceNet = m_amounts.between(50, 20000);
        const Ore vat = vatOf(goodsNet + serviceNet, kRates[kind]);
        const std::string number = std::to_string(20000 + vernr % 70000);
        const std::string customer = counterpart();
        return {"Kundfaktura " + number,
                {{{1510, goodsNet + serviceNet + vat, 0, "Faktura " + number + " " + customer},
                  {kSales[kind][0], 0, goodsNet, std::string("Varor, ") + goods()},
                  {kSales[kind][1], 0, serviceNet, std::string("Tjänster, ") + goods()},
                  {kSales[kind][2], 0, vat, "Utgående moms " + number}}}};
    }

    PlannedVoucher customerPayment() {
        const Ore first = m_amounts.between(100, 60000);
        const Ore second = m_amounts.between(100, 30000);
        const Ore fee = m_amounts.between(2, 15);
        const std::string customer = counterpart();
        return {"Inbetalning " + customer,
                {{{1930, first + second - fee, 0, "Inbetalning " + customer},
                  {6570, fee, 0, "Bankgiroavgift"},
                  {1510, 0, first, "Betald faktura " + std::to_string(20000 + m_amounts.index(70000))},
                  {1510, 0, second, "Betald faktura " + std::to_string(20000 + m_amounts.index(70000))}}}};
    }

    PlannedVoucher supplierInvoice(int vernr) {
        const std::int32_t first = m_costAccounts[m_amounts.index(m_costAccounts.size())];
        const std::int32_t second = m_costAccounts[m_amounts.index(m_costAccounts.size())];
        const Ore firstNet = m_amounts.between(20, 25000);
        const Ore secondNet = m_amounts.between(20, 8000);
        const Ore vat = vatOf(firstNet + secondNet, 25);
        const std::string supplier = counterpart();
        const std::string number = invoiceNumber();
        return {"Lev.faktura " + supplier,
                {{{first, firstNet, 0, std::string("Inköp ") + goods() + " " + number},
                  {second, secondNet, 0, std::string("Inköp ") + goods() + " " + number},
                  {2641, vat, 0, "Ingående moms " + number},
                  {2440, 0, firstNet + secondNet + vat,
                   "Faktura " + number + " lev " + std::to_string(vernr % 500)}}}};
    }

    PlannedVoucher supplierPayment() {
        const Ore first = m_amounts.between(100, 40000);
        const Ore second = m_amounts.between(100, 20000);
        const Ore fee = m_amounts.between(2, 10);
        const std::string supplier = counterpart();
        return {"Betalning " + supplier,
                {{{2440, first, 0, "Betalning faktura " + invoiceNumber()},
                  {2440, second, 0, "Betalning faktura " + invoiceNumber()},
                  {6570, fee, 0, "Bankgiroavgift"},
                  {1930, 0, first + second + fee, "Utbetalning " + supplier}}}};
    }

    PlannedVoucher salaries(const Date& date) {
        const Ore officials = m_amounts.between(20000, 45000);
        const Ore workers = m_amounts.between(15000, 35000);
        const Ore tax = (officials + workers) * 30 / 100;
        const std::string month = kMonthNames[static_cast<std::size_t>(date.month - 1)];
        return {"Löner " + month + " " + std::to_string(kYear),
                {{{7210, officials, 0, "Löner tjänstemän " + month},
                  {7010, workers, 0, "Löner kollektiv " + month},
                  {2710, 0, tax, "Personalskatt " + month},
                  {1930, 0, officials + workers - tax, "Nettolöner " + month}}}};
    }

    PlannedVoucher otherVoucher(const Date& date) {
        const std::string month = kMonthNames[static_cast<std::size_t>(date.month - 1)];
        const Ore a = m_amounts.between(500, 30000);
        const Ore b = m_amounts.between(200, 10000);
        switch (m_amounts.index(4)) {
        case 0:
            return {"Skattedeklaration " + month,
                    {{{2710, a, 0, "Personalskatt " + month},
                      {2731, b, 0, "Arbetsgivaravgifter " + month},
                      {2650, b / 2, 0, "Moms att betala " + month},
                      {1630, 0, a + b + b / 2, "Skattekonto " + month}}}};
        case 1:
            return {"Avskrivningar " + month,
                    {{{7832, a / 10, 0, "Avskrivning inventarier " + month},
                      {1229, 0, a / 10, "Ack avskrivning inventarier"},
                      {7835, b / 10, 0, "Avskrivning datorer " + month},
                      {1259, 0, b / 10, "Ack avskrivning datorer"}}}};
        case 2:
            return {"Lån och ränta " + month,
                    {{{8410, b / 5, 0, "Ränta banklån " + month},
                      {2350, a, 0, "Amortering banklån " + month},
                      {6570, 3500, 0, "Aviavgift"},
                      {1930, 0, b / 5 + a + 3500, "Dragning lån " + month}}}};
        default:
            return {"Representation " + month,
                    {{{6071, b / 4, 0, std::string("Lunch ") + counterpart()},
                      {6072, b / 8, 0, "Ej avdragsgill del"},
                      {2641, vatOf(b / 4, 12), 0, "Ingående moms 12 %"},
                      {1930, 0, b / 4 + b / 8 + vatOf(b / 4, 12), "Kortköp " + month}}}};
        }
    }

    Amounts m_amounts;
    std::vector<std::int32_t> m_costAccounts;
};

// The VAT rate of the rule naming the account, as the voucher dialog shows it.
double vatRateFor(const CTallvingeDoc& doc, std::int32_t account) {
    for (const CAutomoms& regel : doc.state().m_momsregler) {
        if (regel.m_dMomssats != 0.0 && (regel.m_nDebetkonto == account || regel.m_nKreditkonto == account)) {
            return regel.m_dMomssats;
        }
    }
    return 0.0;
}

void addVatRules(CTallvingeDoc& doc) {
    const auto rule = [](double rate, std::int32_t debet, std::int32_t kredit, std::int32_t debetMoms,
                         std::int32_t kreditMoms, std::string comment) {
        CAutomoms regel;
        regel.m_dMomssats = rate;
        regel.m_nDebetkonto = debet;
        regel.m_nKreditkonto = kredit;
        regel.m_nDebetMomskonto = debetMoms;
        regel.m_nKreditMomskonto = kreditMoms;
        regel.m_strKommentar = std::move(comment);
        return regel;
    };
    std::vector<CAutomoms> rules = {
        rule(25, 0, 3001, 0, 2611, "Försäljning varor 25%"),
        rule(12, 0, 3002, 0, 2621, "Försäljning varor 12%"),
        rule(6, 0, 3003, 0, 2631, "Försäljning varor 6%"),
        rule(25, 0, 3011, 0, 2611, "Försäljning tjänster 25%"),
        rule(12, 0, 3012, 0, 2621, "Försäljning tjänster 12%"),
        rule(6, 0, 3013, 0, 2631, "Försäljning tjänster 6%"),
        rule(25, 4010, 0, 2641, 0, "Inköp material 25%"),
        rule(25, 5410, 0, 2641, 0, "Förbrukningsinventarier 25%"),
        rule(25, 5460, 0, 2641, 0, "Förbrukningsmaterial 25%"),
        rule(25, 6110, 0, 2641, 0, "Kontorsmateriel 25%"),
        rule(25, 6212, 0, 2641, 0, "Mobiltelefon 25%"),
        rule(25, 5611, 0, 2641, 0, "Drivmedel 25%"),
    };
    rules.resize(kVatRuleRows);
    doc.setVatRules(std::move(rules));
}

// Opening balances of the open period, in öre (debit positive). They balance:
// 2091 takes what the others leave.
const std::vector<std::pair<std::int32_t, Ore>>& openingBalances() {
    static const std::vector<std::pair<std::int32_t, Ore>> balances = [] {
        std::vector<std::pair<std::int32_t, Ore>> list = {
            {1220, 18500000},  {1229, -6200000},  {1250, 4800000},  {1259, -2100000},  {1460, 31000000},
            {1510, 42000000},  {1910, 425000},    {1930, 51234567}, {2081, -10000000}, {2090, -18345620},
            {2350, -30000000}, {2440, -26500000}, {2611, -4125000}, {2641, 1250000},   {2710, -1840000},
            {2731, -2130000},  {2920, -5600000}};
        Ore sum = 0;
        for (const auto& [account, amount] : list) {
            sum += amount;
        }
        list.emplace_back(2091, -sum);
        return list;
    }();
    return balances;
}

CVerifikatrad line(std::int32_t account, Ore amount) {
    CVerifikatrad rad;
    rad.m_nKonto = account;
    rad.m_dDebet = amount >= 0 ? toKronor(amount) : 0.0;
    rad.m_dKredit = amount < 0 ? toKronor(-amount) : 0.0;
    return rad;
}

// A first period whose books close at the opening balances, then the open
// second period, created as the program creates a new period: the closing
// balances carried, the first period's result on the carried-profit account.
void addPeriods(CTallvingeDoc& doc) {
    doc.firstPeriodAsked();
    doc.addFirstPeriod({1, kYear - 1, 12, kYear - 1});
    std::vector<CVerifikatrad> lines;
    Ore result = 0;
    for (const auto& [account, balance] : openingBalances()) {
        if (account == 2090) {
            result = -balance; // the result account receives the income accounts' result
        } else {
            lines.push_back(line(account, balance));
        }
    }
    lines.push_back(line(3001, -result));
    doc.registerVoucher(makeVoucher(31, 12, kYear - 1, "Ingående balanser", std::move(lines)));
    doc.newPeriod({1, kYear, 12, kYear});
}

void postVouchers(CTallvingeDoc& doc, int count) {
    std::unordered_map<std::int32_t, const CKonto*> accounts;
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            accounts.emplace(konto->m_nKontonr, konto.get());
        }
    }
    std::unordered_map<std::int32_t, double> rates;
    for (const auto& [number, konto] : accounts) {
        rates.emplace(number, vatRateFor(doc, number));
    }
    VoucherPlanner planner(0x4b56U);
    for (int i = 0; i < count; ++i) {
        const Date date = dateOf(i, count);
        PlannedVoucher plan = planner.next(doc.state().m_nNastaVernr, date);
        std::vector<CVerifikatrad> lines;
        for (PlannedLine& planned : plan.lines) {
            CVerifikatrad rad;
            rad.m_nKonto = planned.account;
            rad.m_strRadtext = std::move(planned.text);
            rad.m_strKontonamn = accounts.at(planned.account)->m_strKolumn2;
            rad.m_dDebet = toKronor(planned.debit);
            rad.m_dKredit = toKronor(planned.credit);
            rad.m_dMoms = rates.at(planned.account);
            lines.push_back(std::move(rad));
        }
        CEttVerifikat voucher =
            makeVoucher(date.day, date.month, kYear, std::move(plan.text), std::move(lines));
        if (voucher.m_dDifferens != 0.0) {
            throw std::logic_error("generated voucher " + std::to_string(doc.state().m_nNastaVernr) +
                                   " does not balance");
        }
        doc.registerVoucher(std::move(voucher));
    }
}

void checkChart(const CTallvingeDoc& doc) {
    std::unordered_set<std::int32_t> numbers;
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0 && !numbers.insert(konto->m_nKontonr).second) {
            throw std::logic_error("generated chart uses " + std::to_string(konto->m_nKontonr) + " twice");
        }
    }
    if (numbers.size() != kChartAccounts) {
        throw std::logic_error("generated chart has " + std::to_string(numbers.size()) + " accounts");
    }
}

} // namespace

std::vector<ChartRowTexts> generatedIncomeChart() {
    std::vector<ChartRowTexts> rows;
    rows.push_back(chartRow("", "RÖRELSENS INTÄKTER"));
    const auto& groups = incomeGroups();
    appendGroup(rows, groups[0]);
    appendGroup(rows, groups[1]);
    rows.push_back(chartRow("", "RÖRELSENS KOSTNADER"));
    for (std::size_t i = 2; i < groups.size(); ++i) {
        appendGroup(rows, groups[i]);
    }
    rows.push_back(chartRow("", "RESULTAT", "", "", "="));
    rows.push_back(chartRow("", ""));
    rows.push_back(chartRow("", "DEN HÄR periodens resultat"));
    rows.push_back(chartRow("", "sättes i passiva in på  :"));
    rows.push_back(chartRow("", "2090", "", "", "", "v"));
    rows.push_back(chartRow("Exempel", ""));
    return rows;
}

std::vector<ChartRowTexts> generatedBalanceChart() {
    std::vector<ChartRowTexts> rows;
    rows.push_back(chartRow("", "A K T I V A"));
    for (const Group& group : assetGroups()) {
        appendGroup(rows, group);
    }
    rows.push_back(chartRow("", "Sa AKTIVA", "", "", "a"));
    rows.push_back(chartRow("", ""));
    rows.push_back(chartRow("", "FÖRRA periodens"));
    rows.push_back(chartRow("", "vinst/förlust är insatt på  :"));
    rows.push_back(chartRow("", "2091"));
    rows.push_back(chartRow("", "P A S S I V A"));
    for (const Group& group : liabilityGroups()) {
        appendGroup(rows, group);
    }
    rows.push_back(chartRow("", "Sa PASSIVA", "", "", "p"));
    rows.push_back(chartRow("Exempel", ""));
    return rows;
}

void generateCompany(CTallvingeDoc& doc, int voucherCount) {
    doc.startAfresh();
    doc.approveIncomeChart(generatedIncomeChart());
    doc.approveBalanceChart(generatedBalanceChart());
    checkChart(doc);
    addVatRules(doc);
    addPeriods(doc);
    postVouchers(doc, voucherCount);
}

std::size_t accountCount(const CTallvingeDoc& doc) {
    std::size_t count = 0;
    for (const auto& konto : doc.state().m_allaKonton) {
        count += konto->m_nKontonr > 0 ? 1 : 0;
    }
    return count;
}

std::size_t postedRowCount(const CTallvingeDoc& doc) {
    std::size_t count = 0;
    for (const auto& konto : doc.state().m_allaKonton) {
        count += konto->m_rader.size();
    }
    return count;
}

} // namespace kv::bench
