// The real window, built the way the program builds it: from the embedded
// Unit1.layout through Application->CreateForm.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "app/LayoutReader.h"
#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

const TFont kWindowFont{"ＭＳ Ｐゴシック", -13, true, clBlack};

class LayoutWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetUnit1State();
    HighScore = 12345;  // FormCreate sets it back to 0 and names the help file
    Application->HelpFile.clear();
    Application->Initialize();
    Application->SetFormLoader(kestrune::LoadEmbeddedLayout);
    Application->CreateForm(form_);
    ASSERT_NE(form_, nullptr);
  }
  void TearDown() override {
    delete form_;
    kestrune::Headless().Clear();
  }

  TForm1* form_ = nullptr;
};

TEST_F(LayoutWindowTest, WindowHasItsStoredSettingsAndRanFormCreate) {
  TForm1& f = *form_;
  EXPECT_EQ(f.Name, "Form1");
  EXPECT_EQ(f.Caption, "Kestrune");
  EXPECT_EQ(f.Left, 200);
  EXPECT_EQ(f.Top, 109);
  EXPECT_EQ(f.ClientWidth, 427);
  EXPECT_EQ(f.ClientHeight, 274);
  EXPECT_EQ(f.Color, clSilver);
  EXPECT_EQ(f.Font, kWindowFont);
  EXPECT_EQ(f.BorderStyle, TFormBorderStyle::bsSingle);
  EXPECT_FALSE(f.Scaled);
  EXPECT_EQ(f.PixelsPerInch, 96);
  EXPECT_EQ(f.TextHeight, 13);
  EXPECT_EQ(f.Menu, f.MainMenu1);
  ASSERT_NE(f.Menu, nullptr);
  // OnCreate is bound and ran once every value was in place.
  EXPECT_EQ(HighScore, 0);
  const std::string help = Application->HelpFile;
  EXPECT_TRUE(help.ends_with(kHelpFileName)) << help;
}

TEST_F(LayoutWindowTest, ComponentsAreCreatedInStoredOrderAndBoundToTheirFields) {
  TForm1& f = *form_;
  struct Row {
    std::string name;
    TComponent* field;
    const std::type_info& type;
  };
  const std::vector<Row> expected = {
      {"Image1", f.Image1, typeid(TImage)},      {"Sprite1", f.Sprite1, typeid(TSprite)},
      {"Label1", f.Label1, typeid(TLabel)},      {"Image2", f.Image2, typeid(TImage)},
      {"Timer1", f.Timer1, typeid(TTimer)},      {"Sprite2", f.Sprite2, typeid(TSprite)},
      {"Sprite3", f.Sprite3, typeid(TSprite)},   {"Sprite4", f.Sprite4, typeid(TSprite)},
      {"Sprite5", f.Sprite5, typeid(TSprite)},   {"Sprite6", f.Sprite6, typeid(TSprite)},
      {"Sprite7", f.Sprite7, typeid(TSprite)},   {"Sprite8", f.Sprite8, typeid(TSprite)},
      {"MainMenu1", f.MainMenu1, typeid(TMainMenu)}, {"G1", f.G1, typeid(TMenuItem)},
      {"Start1", f.Start1, typeid(TMenuItem)},   {"Close1", f.Close1, typeid(TMenuItem)},
      {"Help1", f.Help1, typeid(TMenuItem)},     {"Label2", f.Label2, typeid(TLabel)},
      {"Label3", f.Label3, typeid(TLabel)},      {"Label4", f.Label4, typeid(TLabel)},
      {"Memo1", f.Memo1, typeid(TMemo)},         {"Label5", f.Label5, typeid(TLabel)},
  };
  const std::vector<TComponent*>& components = f.Components();
  ASSERT_EQ(components.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(components[i]->Name, expected[i].name);
    EXPECT_EQ(components[i], expected[i].field);
    EXPECT_EQ(components[i]->Owner(), &f);
    EXPECT_TRUE(typeid(*components[i]) == expected[i].type);
  }
}

TEST_F(LayoutWindowTest, ControlsHaveTheirPlacesColoursFontsAndTexts) {
  TForm1& f = *form_;
  struct Row {
    TControl* control;
    int left, top, width, height;
    bool visible;
  };
  const std::vector<Row> places = {
      {f.Image1, 0, 0, 313, 273, false},   {f.Label1, 333, 32, 45, 13, true}, {f.Image2, 16, 0, 313, 273, true},
      {f.Label2, 333, 65, 28, 15, true},   {f.Label3, 333, 97, 4, 12, true},  {f.Label4, 333, 145, 48, 13, true},
      {f.Label5, 333, 9, 34, 13, true},    {f.Memo1, 337, 165, 88, 89, true},
  };
  for (const Row& r : places) {
    SCOPED_TRACE(r.control->Name);
    EXPECT_EQ(r.control->Left, r.left);
    EXPECT_EQ(r.control->Top, r.top);
    EXPECT_EQ(r.control->Width, r.width);
    EXPECT_EQ(r.control->Height, r.height);
    EXPECT_EQ(r.control->Visible, r.visible);
  }

  struct LabelRow {
    TLabel* label;
    std::string caption;
    TColor color;
    TFont font;
  };
  const std::vector<LabelRow> labels = {
      {f.Label1, "Score ", clLime, kWindowFont},
      {f.Label2, "あと", clAqua, {"ＭＳ Ｐゴシック", -15, true, clBlack}},
      {f.Label3, "", clPurple, {"ＭＳ Ｐゴシック", -12, false, clLime}},
      {f.Label4, "メモらん", clSilver, kWindowFont},  // no colour of its own: the window's
      {f.Label5, "High ", clWhite, kWindowFont},
  };
  for (const LabelRow& r : labels) {
    SCOPED_TRACE(r.label->Name);
    EXPECT_EQ(r.label->Caption(), r.caption);
    EXPECT_EQ(r.label->Color, r.color);
    EXPECT_EQ(r.label->Font, r.font);
    EXPECT_FALSE(r.label->Transparent);
  }

  EXPECT_EQ(f.Memo1->Color, clWindow);
  EXPECT_EQ(f.Memo1->Font, (TFont{"ＭＳ Ｐゴシック", -13, false, clBlack}));
  EXPECT_EQ(f.Memo1->TabOrder, 0);
  EXPECT_TRUE(f.Memo1->Lines.empty());
  EXPECT_FALSE(f.Image2->Picture().HasBitmap()) << "the playfield shows nothing before the first game";
}

TEST_F(LayoutWindowTest, MenuHasItsStructureAndEachItemRunsItsHandler) {
  TForm1& f = *form_;
  ASSERT_EQ(f.MainMenu1->Items(), (std::vector<TMenuItem*>{f.G1, f.Help1}));
  ASSERT_EQ(f.G1->Items(), (std::vector<TMenuItem*>{f.Start1, f.Close1}));
  EXPECT_TRUE(f.Start1->Items().empty());
  EXPECT_TRUE(f.Close1->Items().empty());
  EXPECT_TRUE(f.Help1->Items().empty());
  EXPECT_EQ(f.G1->Caption, "Game");
  EXPECT_EQ(f.Start1->Caption, "Start");
  EXPECT_EQ(f.Close1->Caption, "Close");
  EXPECT_EQ(f.Help1->Caption, "Help");
  EXPECT_FALSE(f.G1->OnClick) << "Game only opens its submenu";

  f.Start1->Click();  // Start1Click: labels reset, playfield painted, timer on
  EXPECT_TRUE(f.Timer1->Enabled());
  EXPECT_EQ(f.Label1->Caption(), "Score 0");
  EXPECT_TRUE(f.Image2->Picture().HasBitmap());

  const std::size_t helps = kestrune::Headless().HelpShown().size();
  f.Help1->Click();  // Help1Click asks the help engine for the contents
  EXPECT_EQ(kestrune::Headless().HelpShown().size(), helps + 1);

  ASSERT_EQ(Application->MainForm(), &f);
  f.Close1->Click();  // Close1Click closes the main window, which ends the program
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(LayoutWindowTest, TimerStartsOffAndTicksIntoTimer1Timer) {
  TForm1& f = *form_;
  EXPECT_FALSE(f.Timer1->Enabled());
  EXPECT_EQ(f.Timer1->Interval(), 55);
  ASSERT_TRUE(f.Timer1->OnTimer);
  f.Start1->Click();
  ASSERT_TRUE(f.Timer1->Enabled());
  f.Image2->MouseMove(TShiftState{}, 116, 10);  // Image2MouseMove: the gun centres on the pointer
  EXPECT_EQ(GunX, 100);
  f.Timer1->Tick();  // Timer1Timer moves the gun sprite to GunX
  EXPECT_EQ(f.Sprite1->X, 100);
}

TEST_F(LayoutWindowTest, PlayfieldClickFiresAShot) {
  ASSERT_TRUE(form_->Image2->OnClick);
  form_->Image2->Click();
  EXPECT_TRUE(Shots[0].Active);
}

TEST_F(LayoutWindowTest, SpritesHaveTheirPicturesSettingsAndMasks) {
  TForm1& f = *form_;
  struct Row {
    TSprite* sprite;
    int side;
    int y;
  };
  const std::vector<Row> sprites = {
      {f.Sprite1, 32, 240}, {f.Sprite2, 16, 0}, {f.Sprite3, 16, 0}, {f.Sprite4, 16, 0},
      {f.Sprite5, 20, 0},   {f.Sprite6, 20, 0}, {f.Sprite7, 20, 0}, {f.Sprite8, 20, 0},
  };
  for (const Row& r : sprites) {
    SCOPED_TRACE(r.sprite->Name);
    TSprite& s = *r.sprite;
    EXPECT_EQ(s.Destination, f.Image1);
    EXPECT_EQ(s.Count(), 1);
    EXPECT_EQ(s.Index(), 0);
    EXPECT_EQ(s.X, 0);
    EXPECT_EQ(s.Y, r.y);
    EXPECT_TRUE(s.Transparent);
    EXPECT_FALSE(s.Centering);
    EXPECT_EQ(s.ColorKey(), clBlack);
    ASSERT_NE(s.Picture(), nullptr);
    EXPECT_EQ(s.Width(), r.side);
    EXPECT_EQ(s.Height(), r.side);
    EXPECT_EQ(s.Picture()->Width(), r.side);
    EXPECT_EQ(s.Picture()->Height(), r.side);

    // ColorKey was applied after the picture, so the masks are built.
    const TBitmap& picture = *s.Picture();
    ASSERT_EQ(s.Mask()->Width(), r.side);
    ASSERT_EQ(s.Mask()->Height(), r.side);
    int key_pixels = 0;
    for (int y = 0; y < r.side; ++y)
      for (int x = 0; x < r.side; ++x) {
        const bool is_key = picture.Pixels().Pixel(x, y) == clBlack;
        key_pixels += is_key ? 1 : 0;
        ASSERT_EQ(s.Mask()->Pixels().Pixel(x, y), is_key ? clWhite : clBlack) << x << "," << y;
      }
    EXPECT_GT(key_pixels, 0) << "every picture has a black background";
    EXPECT_LT(key_pixels, r.side * r.side) << "and a figure on it";
  }
}

TEST_F(LayoutWindowTest, SpritesDrawSeeThroughFromTheFirstFrame) {
  TForm1& f = *form_;
  for (TSprite* s : {f.Sprite1, f.Sprite2, f.Sprite5, f.Sprite8}) {
    SCOPED_TRACE(s->Name);
    TCanvas* canvas = f.Image1->Canvas();
    canvas->Brush.Color = clWhite;
    canvas->FillRect(Rect(0, 0, f.Image1->Width, f.Image1->Height));
    s->X = 10;
    s->Y = 20;
    s->Draw();
    const Surface& drawn = f.Image1->Picture().Bitmap().Pixels();
    const Surface& picture = s->Picture()->Pixels();
    for (int y = 0; y < s->Height(); ++y)
      for (int x = 0; x < s->Width(); ++x) {
        const TColor source = picture.Pixel(x, y);
        ASSERT_EQ(drawn.Pixel(10 + x, 20 + y), source == clBlack ? clWhite : source) << x << "," << y;
      }
    EXPECT_EQ(drawn.Pixel(9, 20), clWhite);
  }
}

}  // namespace
