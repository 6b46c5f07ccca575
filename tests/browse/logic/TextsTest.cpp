#include "browse/logic/Texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace ferlane {
namespace {

constexpr TLanguage kAllLanguages[] = {lnEnglish, lnFrench,  lnGerman, lnSpanish, lnPortuguese,
                                       lnItalian, lnDutch,   lnPolish, lnSlovak};

// Loads change a process-wide table: every test leaves it in English again.
class MessageTable : public ::testing::Test {
 protected:
  void TearDown() override {
    LoadListTexts(lnEnglish);
    LoadTreeTexts(lnEnglish);
  }
};

TEST(MessageTableStart, IsEnglishBeforeAnyLoad) {
  // A fresh process, so that no earlier test has loaded a language yet.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        bool english = Text(Msg::NoDisk) == L"There is no disk in Drive or Drive is not ready" &&
                       Text(Msg::FromLabel) == L"From  : " && Text(Msg::CancelCaption) == L"Cancel" &&
                       Text(Msg::SubFoldersLine) == L"and all its Sub-Folders ";
        std::exit(english ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(MessageTable, EachWidgetLoadsOnlyItsOwnRows) {
  LoadListTexts(lnFrench);
  // List rows and shared rows are French, tree-only rows are still English.
  EXPECT_EQ(Text(Msg::CancelCaption), L"Annule");
  EXPECT_EQ(Text(Msg::NothingSelected), L"Pas de fichier sélectionné");
  EXPECT_EQ(Text(Msg::NewFolderName), L"Nouveau Dossier");
  EXPECT_EQ(Text(Msg::FromLabel), L"From  : ");
  EXPECT_EQ(Text(Msg::TreeSizeTitle), L"TREE SIZE");

  LoadTreeTexts(lnGerman);
  // Tree rows German; shared rows now German too (last load wins); list-only rows stay French.
  EXPECT_EQ(Text(Msg::FromLabel), L"Von  : ");
  EXPECT_EQ(Text(Msg::TreeSizeTitle), L"BAUMGRÖßE");
  EXPECT_EQ(Text(Msg::NewFolderName), L"Neuer Ordner");
  EXPECT_EQ(Text(Msg::ErrorPrefix), L"Fehler - ");
  EXPECT_EQ(Text(Msg::CancelCaption), L"Annule");
  EXPECT_EQ(Text(Msg::ShortcutFailed), L"Erreur - Fichier protégé. L'enregistrement a échoué");

  LoadListTexts(lnFrench);  // reloading the list takes the shared rows back
  EXPECT_EQ(Text(Msg::NewFolderName), L"Nouveau Dossier");
  EXPECT_EQ(Text(Msg::FromLabel), L"Von  : ");

  for (int r = 0; r < kMsgCount; ++r) {
    Msg m = static_cast<Msg>(r);
    bool french = Text(m) == TextIn(lnFrench, m);
    bool german = Text(m) == TextIn(lnGerman, m);
    EXPECT_TRUE(french || german) << "row " << r;  // no row was left out of both loads
  }
}

TEST_F(MessageTable, SystemDefaultAndUnknownLanguagesReadAsEnglish) {
  LoadListTexts(lnFrench);
  LoadListTexts(lnSysDefault);
  EXPECT_EQ(Text(Msg::CancelCaption), L"Cancel");
  EXPECT_STREQ(TextIn(lnSysDefault, Msg::NoDisk), TextIn(lnEnglish, Msg::NoDisk));
  EXPECT_STREQ(TextIn(static_cast<TLanguage>(42), Msg::NoDisk), TextIn(lnEnglish, Msg::NoDisk));
  EXPECT_STREQ(DriveTypeText(lnSysDefault, 3), L"Fixed Disk");
  EXPECT_STREQ(ColumnHeadings(lnSysDefault, false)[3], L"Modified");
  EXPECT_STREQ(ListMenuCaption(lnSysDefault, ListMenuItem::Open), L"&Open");
}

TEST(Texts, ExactCharactersOfTheTexts) {
  // The French already-exists text opens with a double quote of its own.
  EXPECT_STREQ(TextIn(lnFrench, Msg::AlreadyExists), L"\" existe déjà !");
  EXPECT_STREQ(TextIn(lnFrench, Msg::FileWord), L" le fichier  ");
  EXPECT_STREQ(TextIn(lnFrench, Msg::ToLabel), L"\u00E0     : ");
  EXPECT_STREQ(TextIn(lnFrench, Msg::NoDisk),
               L"Il n'y a pas de disque dans le lecteur ou le lecteur n'est pas pr\u00EAt.");
  EXPECT_STREQ(TextIn(lnGerman, Msg::FileWord), L"\" ist fehlgeschlagen mit Datei ");
  EXPECT_STREQ(TextIn(lnGerman, Msg::TreeSizeTitle), L"BAUMGR\u00D6\u00DFE");
  EXPECT_STREQ(TextIn(lnSpanish, Msg::TreeSizeTitle), L"TAMA\u00D1O DEL \u00C1RBOL");
  // Polish and Slovak as they read in Windows-1252, character for character.
  EXPECT_STREQ(TextIn(lnPolish, Msg::ErrorPrefix), L"B\u00A3\u00A5D - ");
  EXPECT_STREQ(TextIn(lnPolish, Msg::CannotPrefix), L"B\u00A3\u00A5D - \"");
  EXPECT_STREQ(TextIn(lnPolish, Msg::ReadOnly), L"Plik \" jest tylko do odczytu");
  EXPECT_STREQ(TextIn(lnSlovak, Msg::CancelCaption), L"Zru\u0161i\u009D");
  EXPECT_STREQ(TextIn(lnSlovak, Msg::TreeSizeTitle), L"VE\u00BCKOS\u008D PODSTROMU");
  EXPECT_STREQ(TextIn(lnSlovak, Msg::NewFolderName), L"Nov\u00FD prie\u00E8inok");
  EXPECT_STREQ(TextIn(lnEnglish, Msg::FolderWord), L"Folder \"");
  EXPECT_STREQ(TextIn(lnDutch, Msg::ShortcutFailed), L"ERROR - herhaalde bestand.opslaan mislukte");
}

TEST(Texts, EveryLanguageHasEveryRowInItsPlace) {
  for (TLanguage l : kAllLanguages) {
    for (int r = 0; r < kMsgCount; ++r) {
      const wchar_t* t = TextIn(l, static_cast<Msg>(r));
      ASSERT_NE(t, nullptr) << "language " << l << " row " << r;
      EXPECT_NE(std::wstring(t), L"") << "language " << l << " row " << r;
    }
  }
  // The last row of each language: a missing or extra text shifts it.
  const wchar_t* const lastRows[] = {
      L"and all its Sub-Folders ", L"et de tous ses sous-dossiers ", L"und alle untergeordneten Ordner ",
      L"y todas sus subcarpetas ",  L"e todas as sub-pastas ",       L"e tutte le sotto-cartelle ",
      L"en alle-sub-mappen ",       L"oraz wszystkie jego Sub-Foldery", L"a v\u0161etky jeho podadres\u00E1re "};
  for (int i = 0; i < 9; ++i) EXPECT_STREQ(TextIn(kAllLanguages[i], Msg::SubFoldersLine), lastRows[i]);
  EXPECT_STREQ(TextIn(lnItalian, Msg::ReadOnly), L"E' in sola lettura");
  EXPECT_STREQ(TextIn(lnPortuguese, Msg::NothingSelected), L"N\u00E3o h\u00E1 pasta(s) selecionada(s)");
}

TEST(Texts, DriveTypesByPlatformType) {
  for (TLanguage l : kAllLanguages)
    for (unsigned t = 0; t <= 6; ++t) {
      ASSERT_NE(DriveTypeText(l, t), nullptr);
      EXPECT_NE(std::wstring(DriveTypeText(l, t)), L"");
    }
  EXPECT_STREQ(DriveTypeText(lnEnglish, 5), L"CD-ROM Disk");
  EXPECT_STREQ(DriveTypeText(lnFrench, 1), L"N'existe pas");
  EXPECT_STREQ(DriveTypeText(lnFrench, 4), L"Disque R\u00E9seau");
  EXPECT_STREQ(DriveTypeText(lnSlovak, 4), L"Sie\u009Dov\u00FD disk");
  EXPECT_STREQ(DriveTypeText(lnPolish, 3), L"Dysk Sta\u00B3y");
  EXPECT_STREQ(DriveTypeText(lnGerman, 6), L"RAM-Laufwerk");
  // Types the platform may add later read as unknown.
  EXPECT_STREQ(DriveTypeText(lnFrench, 7), L"Inconnu");
  EXPECT_STREQ(DriveTypeText(lnFrench, 0xFFFFFFFFu), L"Inconnu");
}

TEST(Texts, ColumnHeadingsOfBothModes) {
  for (TLanguage l : kAllLanguages)
    for (bool drive : {false, true})
      for (const wchar_t* h : ColumnHeadings(l, drive)) {
        ASSERT_NE(h, nullptr);
        EXPECT_NE(std::wstring(h), L"");
      }
  const auto& fr = ColumnHeadings(lnFrench, false);
  EXPECT_STREQ(fr[0], L"Nom");
  EXPECT_STREQ(fr[3], L"Date");
  EXPECT_STREQ(fr[4], L"Attributs");
  EXPECT_STREQ(ColumnHeadings(lnFrench, true)[2], L"Taille Disque");
  EXPECT_STREQ(ColumnHeadings(lnEnglish, true)[3], L"Free Space");
  EXPECT_STREQ(ColumnHeadings(lnSlovak, false)[1], L"Ve\u00BEkos\u009D");
  EXPECT_STREQ(ColumnHeadings(lnSlovak, true)[3], L"Vo\u00BEn\u00E9 miesto");
  EXPECT_STREQ(ColumnHeadings(lnItalian, true)[2], L"Capacit\u00E0 disco");
}

TEST(Texts, MenuCaptions) {
  for (TLanguage l : kAllLanguages) {
    for (int i = 0; i < kListMenuItemCount; ++i) {
      const wchar_t* c = ListMenuCaption(l, static_cast<ListMenuItem>(i));
      ASSERT_NE(c, nullptr);
      EXPECT_NE(std::wstring(c), L"") << l << " " << i;
    }
    for (int i = 0; i < kTreeMenuItemCount; ++i) {
      const wchar_t* c = TreeMenuCaption(l, static_cast<TreeMenuItem>(i));
      ASSERT_NE(c, nullptr);
      EXPECT_NE(std::wstring(c), L"") << l << " " << i;
    }
  }
  EXPECT_STREQ(ListMenuCaption(lnFrench, ListMenuItem::SendTo), L"Co&pier dans");
  EXPECT_STREQ(ListMenuCaption(lnFrench, ListMenuItem::NewFolder), L"&Nouveau Dossier ...");
  EXPECT_STREQ(ListMenuCaption(lnFrench, ListMenuItem::ClipboardFileName), L"Nom du fichier  dans le Presse-Papier");
  EXPECT_STREQ(ListMenuCaption(lnEnglish, ListMenuItem::DesktopShortcut), L"DeskTop as ShortCut");
  EXPECT_STREQ(ListMenuCaption(lnItalian, ListMenuItem::Rename), L"&Rin&omina");
  EXPECT_STREQ(ListMenuCaption(lnSlovak, ListMenuItem::DesktopShortcut), L"Pracovn\u00E1 plocha - vytvori\u009D odkaz");
  EXPECT_STREQ(ListMenuCaption(lnGerman, ListMenuItem::Open), L"\u00D6&ffnen");

  EXPECT_STREQ(TreeMenuCaption(lnFrench, TreeMenuItem::TreeSize), L"Taille de l'&arborescence");
  EXPECT_STREQ(TreeMenuCaption(lnFrench, TreeMenuItem::ConnectNetworkDrive), L"&Connecter Lecteur R\u00E9seau ...");
  EXPECT_STREQ(TreeMenuCaption(lnEnglish, TreeMenuItem::Properties), L"&Property");
  EXPECT_STREQ(TreeMenuCaption(lnPolish, TreeMenuItem::Properties), L"&W\u00B3a\u0153ciwo\u0153ci");
  EXPECT_STREQ(TreeMenuCaption(lnSlovak, TreeMenuItem::ConnectNetworkDrive),
               L"Pripo&ji\u009D sie\u009Dov\u00FD disk ...");
}

}  // namespace
}  // namespace ferlane
