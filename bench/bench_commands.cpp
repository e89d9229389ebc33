// Speed of the main window's selection commands on a preview of 5,000 fonts with files: the
// pane and status summary rebuilt after one Space press with every font marked, Select All
// (the whole handler), and Find Next through all names without a match.
//
// Run on a release build with
//   build/release/bench_commands --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QApplication>
#include <QTest>
#include <QToolButton>

#include "app/main_form.h"
#include "fonts/font_info.h"
#include "platform/linux_platform.h"
#include "preview/font_list_view.h"
#include "support/fakes.h"
#include "support/sandbox.h"
#include "support/bench_app.h"

using fonzeta::test::Sandbox;

namespace {

constexpr int FontCount = 5000;

// The real main window, its selection pane open, showing 5,000 folder-like fonts.
struct TWindow {
    TLinuxPlatform Linux;
    fonzeta::test::TScriptedDialogs Dialogs;
    fonzeta::test::TFakeLocale Locale;
    TPlatform Services;
    std::unique_ptr<TMainForm> Form;

    TWindow()
    {
        Services = Linux.Services();
        Services.Dialogs = &Dialogs;
        Services.Locale = &Locale;
        const std::string folder = Sandbox::Root() + "/bench-commands";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/fonzeta.ini") << "[Option]\r\nViewMode=0\r\nLeft=1\r\n";
        Form = std::make_unique<TMainForm>(Services, folder);
        Form->show();
        TFontList& items = Form->FontView->Items();
        items.BeginUpdate();
        items.Clear();
        items.SetMode(flmFolder);
        for (int i = 0; i < FontCount; ++i) {
            auto font = std::make_unique<TFontInfo>();
            char name[32];
            std::snprintf(name, sizeof name, "Bench Font %05d", i);
            font->FullName = name;
            font->FileName = folder + "/" + name + ".ttf";
            font->FileSize = 100000 + i;
            items.Add(std::move(font));
        }
        items.EndUpdate();
        QApplication::processEvents();
    }
};

std::unique_ptr<TWindow> g_window;

TWindow& Window()
{
    if (!g_window)
        g_window = std::make_unique<TWindow>();
    return *g_window;
}

void MarkAll(TMainForm& form, bool marked)
{
    TFontList& items = form.FontView->Items();
    for (int i = 0; i < items.Count(); ++i)
        items.Fonts(i)->Selected = marked;
}

void BM_PaneAfterOneSpace(benchmark::State& state)
{
    TMainForm& form = *Window().Form;
    MarkAll(form, true);
    TFontInfo* font = form.FontView->Items().Fonts(FontCount / 2);
    for (auto _ : state) {
        font->Selected = !font->Selected;
        form.FontViewChangeSelected();
    }
    QApplication::processEvents();
}
BENCHMARK(BM_PaneAfterOneSpace)->Unit(benchmark::kMicrosecond);

// The same through the key: the preview's own handling and its row repaint included.
void BM_SpaceKey(benchmark::State& state)
{
    TMainForm& form = *Window().Form;
    MarkAll(form, true);
    form.FontView->SetItemIndex(FontCount / 2);
    for (auto _ : state) {
        QTest::keyClick(form.FontView, Qt::Key_Space);
        form.FontView->SetItemIndex(FontCount / 2);
    }
    QApplication::processEvents();
}
BENCHMARK(BM_SpaceKey)->Unit(benchmark::kMicrosecond);

void BM_SelectAll(benchmark::State& state)
{
    TMainForm& form = *Window().Form;
    MarkAll(form, false);
    for (auto _ : state)
        form.SelectAll1Click();
    QApplication::processEvents();
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMicrosecond);

void BM_FindNextWithoutMatch(benchmark::State& state)
{
    TMainForm& form = *Window().Form;
    form.FontView->SetItemIndex(0);
    form.FindText = "No such font";
    for (auto _ : state)
        form.FindNext1Click();
    if (form.FontView->ItemIndex() != 0)
        state.SkipWithError("the search moved");
}
BENCHMARK(BM_FindNextWithoutMatch)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    // The window and its services go before the application.
    fonzeta::bench::TBenchHooks hooks;
    hooks.TearDown = [] { g_window.reset(); };
    return fonzeta::bench::RunBenchmarks(argc, argv, hooks);
}
