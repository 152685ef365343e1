// The viewer's commands, panels and frame on the headless engine (no drawing, no display).
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>

#include "brisel/BriselSession.h"

using brisel::CBriselView;
using brisel::CScriptPanel;
using briseltest::BriselSession;
using Opened = CBriselView::Opened;

// ---------------------------------------------------------------- open by extension

TEST(BriselOpen, ByExtension) {
    EXPECT_EQ(brisel::FindExtension("a/b.c/d"), "");  // the dot before the last slash
    EXPECT_EQ(brisel::FindExtension("a\\b.c\\d"), "");
    EXPECT_EQ(brisel::FindExtension("a/b.tar.GZ"), "GZ");
    EXPECT_EQ(brisel::FindExtension("ends."), "");

    BriselSession s;
    QString picture = s.WritePicture("upper.PNG");
    QString script = s.WriteScript("small.txt", briseltest::kSmallScript);
    QString unknown = s.WriteScript("small.dat", briseltest::kSmallScript);
    const struct {
        QString path;
        Opened opened;
        int type;
    } cases[] = {
        {picture, Opened::Picture, kImagePictureFile},
        {script, Opened::Script, kImageMathScript},
        {unknown, Opened::Script, kImageMathScript},
        {s.Path("dir.d/noext"), Opened::Nothing, kImageMathScript},  // unchanged
        {s.Path("noext"), Opened::Nothing, kImageMathScript},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s.Open(c.path), c.opened) << qPrintable(c.path);
        EXPECT_EQ(s.luneth->GetImageType(), c.type) << qPrintable(c.path);
    }
    // A script goes through the panel: its path box names the file.
    EXPECT_EQ(s.panel->PathBox()->text(), unknown);
    // The recent files: newest first, no repeats, at most four.
    for (const QString& p : {picture, script, unknown, s.Path("x.png"), script})
        s.frame->AddRecentFile(p);
    EXPECT_EQ(s.frame->RecentFiles(), (QStringList{script, s.Path("x.png"), unknown, picture}));
}

TEST(BriselOpen, LoadReportInTheStatusBar) {
    BriselSession s;
    s.Open(s.WritePicture("pic.png", 16, 8));
    EXPECT_TRUE(s.frame->Message().startsWith("图像\"pic.png\"加载成功,耗时:"));
    EXPECT_TRUE(s.frame->Message().endsWith(".纹理大小(16,8)"));
    s.Open(s.Path("missing.png"));
    EXPECT_TRUE(s.frame->Message().startsWith("图像\"missing.png\"加载失败,耗时:"));

    ASSERT_TRUE(brisel::InstallTranslation(briseltest::App(), QLocale(QLocale::English)));
    EXPECT_EQ(brisel::LoadReportText("a.png", 3, 4, 1.5f),
              "Image \"a.png\" loaded, time: 1.500. Texture size (3,4)");
    EXPECT_FALSE(brisel::InstallTranslation(briseltest::App(), QLocale(QLocale::Chinese)));
    EXPECT_EQ(brisel::LoadReportText("a.png", 0, 0, 1.5f), "图像\"a.png\"加载失败,耗时:1.500");
}

// ---------------------------------------------------------------- saving

TEST(BriselSave, SuggestsTheNameUpToItsFirstDotAndSaysWhenSavingFails) {
    EXPECT_EQ(brisel::SuggestSaveName("a.b.c"), "a");
    EXPECT_EQ(brisel::SuggestSaveName("plain"), "plain");

    BriselSession s;
    std::vector<brisel::FileRequest> asked;
    QString answer;
    brisel::SetFileChooser([&](const brisel::FileRequest& r) {
        asked.push_back(r);
        return answer;
    });
    s.view->SaveImageAs();  // no image: no dialog
    EXPECT_TRUE(asked.empty());
    s.Open(s.WritePicture("a.b.c.png"));
    answer = s.Path("saved.bmp");
    s.view->SaveImageAs();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].suggestedName, "a");
    EXPECT_TRUE(QFile::exists(answer));
    answer = s.Path("no-folder/x.png");
    s.view->SaveImageAs();
    EXPECT_TRUE(s.frame->Message().startsWith("图像保存失败:"));
}

TEST(BriselSave, ScriptPanelRefusesFewerThanThreeCharactersAndAsksForAShortPath) {
    BriselSession s;
    CScriptPanel* panel = s.panel;
    int asked = 0;
    brisel::SetFileChooser([&](const brisel::FileRequest&) {
        ++asked;
        return s.Path("chosen.txt");
    });
    for (const char* text : {"", "ab"}) {
        panel->Editor()->setPlainText(text);
        EXPECT_FALSE(panel->Save()) << text;
        EXPECT_EQ(s.frame->Message(), "保存文件失败!");
    }
    EXPECT_EQ(asked, 0);
    panel->Editor()->setPlainText("r = 1\ng = 2");
    panel->PathBox()->setText("ab");  // two characters count as no path
    EXPECT_TRUE(panel->Save());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(panel->PathBox()->text(), s.Path("chosen.txt"));
    EXPECT_EQ(kivtest::ReadFile(s.dir / "chosen.txt"), "r = 1\ng = 2");
    panel->PathBox()->setText(s.Path("no-folder/x.txt"));
    EXPECT_FALSE(panel->Save());
    EXPECT_EQ(s.frame->Message(), "保存文件失败! No such file or directory");
}

// ---------------------------------------------------------------- the script panel

TEST(BriselScriptPanel, RefreshCasesAndStatusTexts) {
    briseltest::App();
    {
        CScriptPanel alone;  // no image object
        alone.Refresh();
        EXPECT_FALSE(alone.Editor()->isEnabled());
        EXPECT_FALSE(alone.ParseButton()->isEnabled());
        alone.Parse();
    }
    BriselSession s;
    CScriptPanel* panel = s.panel;
    s.view->ShowScriptPanel();
    s.Open(s.WriteScript("small.txt", briseltest::kSmallScript));
    EXPECT_TRUE(panel->Editor()->toPlainText().startsWith("pixels = width:4 height:2\n"));
    EXPECT_EQ(panel->StatBox(CScriptPanel::kPixelCount)->text(), "8");
    EXPECT_EQ(panel->StatBox(CScriptPanel::kWidth)->text(), "4");
    EXPECT_EQ(panel->StatBox(CScriptPanel::kHeight)->text(), "2");
    EXPECT_EQ(panel->StatBox(CScriptPanel::kParseTime)->text(),
              QString::asprintf("%0.3f", double(s.luneth->GetCostTime())));

    s.Open(s.WritePicture("pic.png"));  // a picture: empty but ready
    panel->Refresh();
    EXPECT_TRUE(panel->Editor()->toPlainText().isEmpty());
    EXPECT_TRUE(panel->Editor()->isEnabled());
    EXPECT_TRUE(panel->ParseButton()->isEnabled());
    EXPECT_TRUE(panel->StatBox(CScriptPanel::kWidth)->text().isEmpty());

    panel->Editor()->setPlainText("pixels = width:3 height:5\nr = sin(\n");
    s.Parse();
    EXPECT_EQ(s.frame->Message(), "数学脚本解析失败!");
    EXPECT_TRUE(panel->Messages()->toPlainText().contains("[Warning]"));
    EXPECT_TRUE(
        panel->Messages()->toPlainText().endsWith("line 2, column 9: '(' is never closed\n"));
    panel->Editor()->setPlainText(briseltest::kSmallScript);
    s.Parse();
    EXPECT_TRUE(s.frame->Message().startsWith("数学脚本解析耗时:"));
    EXPECT_TRUE(s.frame->Message().endsWith("毫秒.纹理大小(4,2)"));
    panel->Clear();
    EXPECT_EQ(s.frame->Message(), "清空脚本!");
    EXPECT_EQ(s.luneth->GetImageType(), kImageNone);
}

TEST(BriselScriptPanel, ShowsAndParsesTheWholeOfALongScript) {
    BriselSession s;
    std::string text = "pixels = width:2 height:2\nx = from 0.0 to 1.0 W\n";
    for (int i = 0; i < 400; ++i)
        text += "Step" + std::to_string(i) + " = x * " + std::to_string(i) + "\n";
    text += "r = Step399 / 399\ng = x\nb = x\n";
    ASSERT_GT(text.size(), 6000u);
    s.view->ShowScriptPanel();
    s.Open(s.WriteScript("long.txt", text));
    QString shown = s.panel->Editor()->toPlainText();
    EXPECT_GT(shown.size(), 6000);
    EXPECT_TRUE(shown.endsWith("b = x\n"));
    s.Parse();
    EXPECT_EQ(s.luneth->GetTexture() != nullptr, true) << qPrintable(s.frame->Message());
}

// ---------------------------------------------------------------- the frame

TEST(BriselFrame, FullScreenTwiceAndLeavingWhenNotInFullScreen) {
    BriselSession s;
    s.frame->show();
    s.frame->setGeometry(40, 50, 700, 500);
    QRect before = s.frame->geometry();
    s.frame->SetFullScreen(false);  // not in full screen: nothing changes
    EXPECT_FALSE(s.frame->IsFullScreen());
    EXPECT_EQ(s.frame->geometry(), before);
    s.frame->SetFullScreen(true);
    s.frame->SetFullScreen(true);
    EXPECT_TRUE(s.frame->IsFullScreen());
    EXPECT_TRUE(s.frame->isFullScreen());
    EXPECT_FALSE(s.frame->menuBar()->isVisible());
    EXPECT_FALSE(s.frame->statusBar()->isVisible());
    s.frame->SetFullScreen(false);
    EXPECT_FALSE(s.frame->isFullScreen());
    EXPECT_TRUE(s.frame->menuBar()->isVisible());
    EXPECT_TRUE(s.frame->statusBar()->isVisible());
    EXPECT_EQ(s.frame->geometry(), before);
    EXPECT_EQ(s.frame->windowTitle(), "Brisel");
    EXPECT_EQ(s.frame->Progress()->value(), 0);
}

TEST(BriselFrame, UnloadAndTheModulePanelToggle) {
    BriselSession s;
    s.Open(s.WritePicture("pic.png"));
    s.view->Unload();
    EXPECT_EQ(s.luneth->GetTexture(), nullptr);
    EXPECT_EQ(s.frame->Message(), "清空脚本!");
    bool shown = s.luneth->IsPanelVisible();
    s.view->ToggleModulePanel();
    EXPECT_EQ(s.luneth->IsPanelVisible(), !shown);
}

// ---------------------------------------------------------------- computing on a thread

TEST(BriselComputing, TheWindowStaysTheProgressBarMovesAndACancelKeepsThePicture) {
    BriselSession s;
    s.Open(s.WriteScript("small.txt", briseltest::kSmallScript));
    KcTexture* before = s.luneth->GetTexture();
    ASSERT_NE(before, nullptr);
    s.panel->Editor()->setPlainText(briseltest::kEndlessScript);
    s.panel->Parse();
    ASSERT_TRUE(s.view->IsComputing());
    // The event loop runs on: the progress bar moves while the picture stays.
    for (int i = 0; i < 400 && s.frame->Progress()->value() == 0; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(25);
    }
    EXPECT_GT(s.frame->Progress()->value(), 0);
    EXPECT_EQ(s.luneth->GetTexture(), before);
    // Commands that would change the image wait their turn.
    s.view->Unload();
    EXPECT_EQ(s.frame->Message(), "正在计算,请稍候或按Esc取消");
    EXPECT_FALSE(s.view->Compute([&] { return s.luneth->BeginEquation(1); }));
    EXPECT_EQ(s.view->ExportAllEquations(), 0);
    s.view->CancelComputation();
    s.view->WaitForComputation();
    EXPECT_FALSE(s.view->IsComputing());
    EXPECT_EQ(s.luneth->GetTexture(), before);
    EXPECT_EQ(s.frame->Message(), "计算已取消");
    EXPECT_EQ(s.frame->Progress()->value(), 0);
    EXPECT_EQ(s.panel->Editor()->toPlainText(), briseltest::kEndlessScript);
}

TEST(BriselComputing, APictureShowsTheScriptItCarriesReadyToParse) {
    BriselSession s;
    const std::string text = briseltest::kSmallScript;
    ASSERT_TRUE(s.luneth->LoadScriptText(text.data(), int(text.size())));
    ASSERT_TRUE(s.luneth->SaveImage(s.Path("carries.png").toUtf8().constData()));
    s.view->ShowScriptPanel();
    s.Open(s.WritePicture("plain.png"));
    EXPECT_TRUE(s.panel->Editor()->toPlainText().isEmpty());
    s.Open(s.Path("carries.png"));
    EXPECT_EQ(s.luneth->GetImageType(), kImagePictureFile);
    EXPECT_TRUE(s.frame->Message().endsWith(".纹理大小(4,2)"));
    EXPECT_EQ(s.panel->Editor()->toPlainText(), QString::fromStdString(text));
    s.Parse();
    EXPECT_EQ(s.luneth->GetImageType(), kImageMathScript);
    EXPECT_TRUE(s.frame->Message().startsWith("数学脚本解析耗时:"));
}
