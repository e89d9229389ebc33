#include "platform/system_locale.h"

#include <QLocale>

namespace {

struct TLangEntry {
    QLocale::Language Language;
    QLocale::Territory Territory;  // AnyTerritory: the language's default
    uint16_t LangID;
};

// Naming tables of fonts are keyed by these IDs. A territory-specific entry comes before
// the language's default entry.
constexpr TLangEntry kLangIds[] = {
    {QLocale::English, QLocale::UnitedKingdom, 0x0809},
    {QLocale::English, QLocale::Australia, 0x0C09},
    {QLocale::English, QLocale::Canada, 0x1009},
    {QLocale::English, QLocale::AnyTerritory, 0x0409},
    {QLocale::Korean, QLocale::AnyTerritory, 0x0412},
    {QLocale::Japanese, QLocale::AnyTerritory, 0x0411},
    {QLocale::Chinese, QLocale::Taiwan, 0x0404},
    {QLocale::Chinese, QLocale::HongKong, 0x0C04},
    {QLocale::Chinese, QLocale::AnyTerritory, 0x0804},
    {QLocale::German, QLocale::Switzerland, 0x0807},
    {QLocale::German, QLocale::Austria, 0x0C07},
    {QLocale::German, QLocale::AnyTerritory, 0x0407},
    {QLocale::French, QLocale::Belgium, 0x080C},
    {QLocale::French, QLocale::Canada, 0x0C0C},
    {QLocale::French, QLocale::Switzerland, 0x100C},
    {QLocale::French, QLocale::AnyTerritory, 0x040C},
    {QLocale::Spanish, QLocale::Mexico, 0x080A},
    {QLocale::Spanish, QLocale::AnyTerritory, 0x0C0A},
    {QLocale::Portuguese, QLocale::Portugal, 0x0816},
    {QLocale::Portuguese, QLocale::AnyTerritory, 0x0416},
    {QLocale::Italian, QLocale::AnyTerritory, 0x0410},
    {QLocale::Dutch, QLocale::Belgium, 0x0813},
    {QLocale::Dutch, QLocale::AnyTerritory, 0x0413},
    {QLocale::Russian, QLocale::AnyTerritory, 0x0419},
    {QLocale::Polish, QLocale::AnyTerritory, 0x0415},
    {QLocale::Czech, QLocale::AnyTerritory, 0x0405},
    {QLocale::Slovak, QLocale::AnyTerritory, 0x041B},
    {QLocale::Hungarian, QLocale::AnyTerritory, 0x040E},
    {QLocale::Greek, QLocale::AnyTerritory, 0x0408},
    {QLocale::Turkish, QLocale::AnyTerritory, 0x041F},
    {QLocale::Hebrew, QLocale::AnyTerritory, 0x040D},
    {QLocale::Arabic, QLocale::AnyTerritory, 0x0401},
    {QLocale::Thai, QLocale::AnyTerritory, 0x041E},
    {QLocale::Vietnamese, QLocale::AnyTerritory, 0x042A},
    {QLocale::Swedish, QLocale::AnyTerritory, 0x041D},
    {QLocale::Danish, QLocale::AnyTerritory, 0x0406},
    {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 0x0414},
    {QLocale::Finnish, QLocale::AnyTerritory, 0x040B},
    {QLocale::Ukrainian, QLocale::AnyTerritory, 0x0422},
    {QLocale::Romanian, QLocale::AnyTerritory, 0x0418},
    {QLocale::Bulgarian, QLocale::AnyTerritory, 0x0402},
    {QLocale::Croatian, QLocale::AnyTerritory, 0x041A},
    {QLocale::Indonesian, QLocale::AnyTerritory, 0x0421},
    {QLocale::Hindi, QLocale::AnyTerritory, 0x0439},
};

}  // namespace

uint16_t LangIdOf(const QLocale& locale)
{
    for (const auto& entry : kLangIds) {
        if (entry.Language == locale.language() &&
            (entry.Territory == QLocale::AnyTerritory || entry.Territory == locale.territory()))
            return entry.LangID;
    }
    return 0x0409;
}

uint16_t TSystemLocale::UserLangID() const
{
    return LangIdOf(QLocale::system());
}

std::string TSystemLocale::ThousandsSeparator() const
{
    return QString(QLocale::system().groupSeparator()).toStdString();
}
