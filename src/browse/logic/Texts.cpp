#include "browse/logic/Texts.h"

namespace ferlane {
namespace {

// Every table below has one entry per language from lnEnglish to lnSlovak.
constexpr int kLanguageCount = lnSlovak - lnEnglish + 1;

// lnSysDefault is resolved by the widgets before it reaches a table; should it
// arrive here anyway it reads as English, like every unknown language.
int LangIndex(TLanguage l) { return (l >= lnEnglish && l <= lnSlovak) ? l - lnEnglish : 0; }

// Which widget's LoadTexts fills a row of the message table.
enum Loader { kList = 1, kTree = 2, kBoth = kList | kTree };

constexpr Loader kRowLoaders[kMsgCount] = {
    kBoth, kBoth, kTree, kTree, kList, kList, kBoth, kBoth, kBoth, kBoth,
    kBoth, kTree, kTree, kTree, kBoth, kTree, kTree, kTree, kTree, kList,
    kList, kList, kList, kList, kTree, kTree, kTree, kTree,
};

// The message table's rows, in the order of Msg, per language.
const wchar_t* const kMessages[kLanguageCount][kMsgCount] = {
    // lnEnglish
    {L"ERROR - ",
     L" file ",
     L"From  : ",
     L"To     : ",
     L"Cancel",
     L"Browse",
     L"ERROR - Can't ",
     L"Please specify a directory",
     L"Not a valid Drive ID",
     L"There is no disk in Drive or Drive is not ready",
     L"already exists !",
     L"Error - Invalid Directory Name",
     L"Do you want to rename the selected folder",
     L"Can't add drives",
     L"New Folder",
     L"Folder Name contains invalid characters",
     L"not found",
     L"Files in ",
     L"File operation failed",
     L"It's ReadOnly",
     L"No file(s) selected",
     L"Send to any folder",
     L"Please enter the send_to path",
     L"Error - PersistFile.Save failed",
     L"Drive ",
     L"Folder \"",
     L"TREE SIZE",
     L"and all its Sub-Folders "},
    // lnFrench
    {L"ERREUR - ",
     L" le fichier  ",
     L"de  : ",
     L"à     : ",
     L"Annule",
     L"Parcourir",
     L"ERREUR - Impossible de ",
     L"SVP choisissez un répertoire",
     L"ID de lecteur non valide",
     L"Il n'y a pas de disque dans le lecteur ou le lecteur n'est pas prêt.",
     L"\" existe déjà !",
     L"Erreur - Nom de répertoire invalide",
     L"Voulez-vous renommer le dossier sélectionné",
     L"Impossible d'ajouter des lecteurs",
     L"Nouveau Dossier",
     L"Le nom de dossier contient des caractères interdits",
     L"pas trouvé",
     L"Fichiers dans ",
     L"L'opération sur le fichier a échoué",
     L"Lecteur en Lecture Seule",
     L"Pas de fichier sélectionné",
     L"Copier dans le dossier...",
     L"Veuillez donner le chemin de destination",
     L"Erreur - Fichier protégé. L'enregistrement a échoué",
     L"Lecteur ",
     L"Dossier \"",
     L"Taille de l'arbre",
     L"et de tous ses sous-dossiers "},
    // lnGerman
    {L"Fehler - ",
     L"\" ist fehlgeschlagen mit Datei ",
     L"Von  : ",
     L"Nach : ",
     L"&Abbrechen",
     L"Ordner &wählen",
     L"Fehler - Dateioperation \"",
     L"Bitte wählen Sie ein Verzeichnis:",
     L"Keine gültige Laufwerksbezeichnung!",
     L"Kein Datenträger im Laufwerk oder Laufwerk nicht bereit!",
     L" existiert bereits!",
     L"Fehler - Ungültiger Verzeichnisname:",
     L"Wollen Sie den markierten Ordner umbenennen",
     L"Hinzufügen von Laufwerken nicht möglich!",
     L"Neuer Ordner",
     L"Ordnername enthält ungültige Zeichen!",
     L" nicht gefunden!",
     L"Dateien in ",
     L"Dateioperation ist fehlgeschlagen!",
     L"Die Datei ist schreibgeschützt!",
     L"Keine Datei(en) markiert!",
     L"An Ordner senden...",
     L"Bitte geben Sie den Zielpfad ein:",
     L"Verknüpfung konnte nicht erstellt werden!",
     L"Laufwerk ",
     L"Ordner \"",
     L"BAUMGRÖßE",
     L"und alle untergeordneten Ordner "},
    // lnSpanish
    {L"ERROR - ",
     L" el fichero  ",
     L"De  : ",
     L"A     : ",
     L"Cancelar",
     L"Explorar",
     L"ERROR - No se puede ",
     L"Por favor especifique un directorio",
     L"No es una letra de unidad válida",
     L"No hay disco en la unidad o la unidad no está preparada.",
     L"\" ya existe !",
     L"Error - nombre de carpeta no válido",
     L"Quiere renombrar la carpeta seleccionada",
     L"No se pueden añadir unidades",
     L"Nueva carpeta",
     L"El nombre de la carpeta contiene caracteres inválidos.",
     L"no encontrado",
     L"Ficheros en ",
     L"La operación con el fichero ha fallado",
     L"Es de sólo lectura",
     L"No hay fichero(s) seleccionado(s)",
     L"Enviar a carpeta",
     L"Por favor intruduzca la carpeta donde enviar",
     L"Error - PersistFile.Save falló",
     L"Unidad ",
     L"Carpeta \"",
     L"TAMAÑO DEL ÁRBOL",
     L"y todas sus subcarpetas "},
    // lnPortuguese
    {L"ERRO - ",
     L" arquivo  ",
     L"De  : ",
     L"Para     : ",
     L"Cancelar",
     L"Explorar",
     L"ERRO - impossível ",
     L"Por favor especifique uma pasta",
     L"Não é uma letra de unidade válida",
     L"Não há um disco na unidade ou a unidade não está preparada.",
     L" já existe !",
     L"Erro - Nome da pasta não é válido",
     L"Deseja renomear a pasta selecionada",
     L"Não é possível adicionar unidades",
     L"Nova pasta",
     L"o nome da pasta contém caracteres inválidos.",
     L"não encontrado",
     L"Arquivos em ",
     L"Operação com arquivos falhou",
     L"Somente para leitura",
     L"Não há pasta(s) selecionada(s)",
     L"Enviar para a pasta",
     L"Por favor digite caminho da pasta de destino",
     L"Erro - PersistFile.Save falhou",
     L"Unidade ",
     L"Pasta \"",
     L"Tamanho do diretório",
     L"e todas as sub-pastas "},
    // lnItalian
    {L"ERRORE - ",
     L" file ",
     L"Da  : ",
     L"A     : ",
     L"Annulla",
     L"Esplora",
     L"ERRORE - Impossibile ",
     L"Specificare una cartella",
     L"Lettera di unità non valida",
     L"Nessun disco nell'unità o unità non pronta",
     L"già esistente !",
     L"Errore - Nome cartella non valido",
     L"Vuoi rinominare la cartella selezionata",
     L"Impossibile aggiungere unità",
     L"Nuova cartella",
     L"Il nome della cartella contiene un carattere non valido",
     L"non trovato",
     L"Files in ",
     L"Operazione fallita",
     L"E' in sola lettura",
     L"Nessun file selezionato",
     L"Invia alla cartella",
     L"Inserire il percorso di destinazione",
     L"Errore - PersistFile.Save fallito",
     L"Unità ",
     L"Cartella \"",
     L"Capacità",
     L"e tutte le sotto-cartelle "},
    // lnDutch
    {L"FOUT - ",
     L" bestand ",
     L"Van  : ",
     L"Naar     : ",
     L"Afbreken",
     L"Verkennen",
     L"FOUT - kan niet ",
     L"Geef svp directorie op",
     L"Geen geldige drive ID",
     L"Er is geen disk in de drive of de drive is niet klaar",
     L"bestaat al !",
     L"FOUT - verkeerde directorie naam",
     L"Wilt u de geselecteerde map een ander naam geven",
     L"Kan geen schijven toevoegen",
     L"Nieuwe map",
     L"De map naam bevat ongeldige letters",
     L"niet gevonden",
     L"Bestanden in ",
     L"Bestands operatie mislukte",
     L"Het is aleen-lezen",
     L"Geen bestand(en) geselecteerd",
     L"Stuur naar welke map dan ook",
     L"Geef svp het doel pad",
     L"ERROR - herhaalde bestand.opslaan mislukte",
     L"Schijf ",
     L"Map \"",
     L"BOOM GROOTTE",
     L"en alle-sub-mappen "},
    // lnPolish
    {L"B£¥D - ",
     L" plik ",
     L"Z   : ",
     L"Do   : ",
     L"Anuluj",
     L"Przegl¹daj",
     L"B£¥D - \"",
     L"Proszê wybraæ miejsce docelowe ",
     L"Nie mogê zidentyfikowaæ dysku, wybierz inny",
     L"Ten dysk jest tylko do odczytu",
     L"ju¿ istnieje",
     L"B£¥D - ¯le podano œcie¿kê",
     L"Czy napewno chcesz zmieniæ nazwê wybranego foldera ?",
     L"Nie mogê dodaæ dysku",
     L"Nowy Folder",
     L"¯³a nazwa folderu",
     L"nie znalaz³em",
     L"Plików w ",
     L"Operacja na pliku nie udana",
     L"Plik \" jest tylko do odczytu",
     L"Nie wybrano pliku(ów)",
     L"Wyœlij do nastêpnego foldera ",
     L"Proszê wybraæ œcie¿kê i nacisn¹æ Enter",
     L"B³¹d - PersistFile.Zapis nie powiód³ siê",
     L"Dysk ",
     L"Folder \"",
     L"POKA¯ DRZEWO",
     L"oraz wszystkie jego Sub-Foldery"},
    // lnSlovak
    {L"CHYBA - ",
     L" súbor ",
     L"Z  : ",
     L"Do     : ",
     L"Zruši\u009D",
     L"Preh¾adáva\u009D",
     L"CHYBA - Nie je možné ",
     L"Prosím upresnite adresár",
     L"ID jednotky nie je správne",
     L"Jednotka nie je pripravená, alebo sa v nej nenachádza disk",
     L"už existuje !",
     L"Chyba - nepovolený názov adresára",
     L"Želáte si premenova\u009D vybraný adresár",
     L"Nie je možné prida\u009D jednotky",
     L"Nový prieèinok",
     L"Názov prieèinka obsahuje nepovolené znaky",
     L"nebol nájdený",
     L"Súbory v ",
     L"Operácia so súborom zlyhala",
     L"Je to iba na èítanie",
     L"Nebol vybraný žiadny súbor",
     L"Odosla\u009D do prieèinka",
     L"Prosím vložte celú cestu k zvolenému prieèinku",
     L"Chyba - zlyhalo PersistFile.Save",
     L"Jednotka ",
     L"Prieèinok \"",
     L"VE¼KOS\u008D PODSTROMU",
     L"a všetky jeho podadresáre "},
};

// By platform drive type: unknown, no root folder, removable, fixed, remote,
// CD-ROM, RAM disk.
const wchar_t* const kDriveTypes[kLanguageCount][7] = {
    {L"Unknown", L"Not exist", L"Removable Disk", L"Fixed Disk", L"Network Disk", L"CD-ROM Disk", L"RAM Disk"},  // lnEnglish
    {L"Inconnu", L"N'existe pas", L"Disque amovible", L"Disque Fixe", L"Disque Réseau", L"CD-ROM", L"RAM Disk"},  // lnFrench
    {L"Unbekannt", L"Nicht existent", L"Disketten-Laufwerk", L"Lokales Laufwerk", L"Netz-Laufwerk", L"CD-ROM-Laufwerk", L"RAM-Laufwerk"},  // lnGerman
    {L"Desconocido", L"No existe", L"Disco extraible", L"Disco fijo", L"Disco de red", L"CD-ROM", L"Disco RAM"},  // lnSpanish
    {L"Desconhecido", L"Não existe", L"Disco removível", L"Disco fixo", L"Disco de rede", L"CD-ROM", L"Disco RAM"},  // lnPortuguese
    {L"Sconosciuto", L"Inesistente", L"Disco rimovibile", L"Disco locale", L"Disco di rete", L"Disco CD-ROM", L"Disco RAM"},  // lnItalian
    {L"Onbekend", L"Bestaat niet", L"Verwijderbare schijf", L"Vaste schijf", L"Netwerk schijf", L"CD-ROM", L"RAM schijf"},  // lnDutch
    {L"Nieznany", L"Nie Istnieje", L"Dysk Wymienny", L"Dysk Sta³y", L"Dysk Sieciowy", L"CD-ROM Dysk", L"RAM Dysk"},  // lnPolish
    {L"Neznámy typ", L"Neexistuje", L"Vymenite¾ný disk", L"Pevný disk", L"Sie\u009Dový disk", L"CD-ROM", L"RAM disk"},  // lnSlovak
};

struct Headings {
  std::array<const wchar_t*, 5> folder, drive;
};

const Headings kHeadings[kLanguageCount] = {
    {{{L"Name", L"Size", L"Type", L"Modified", L"Attr"}}, {{L"Name", L"Type", L"Disk Size", L"Free Space", L"Attr"}}},  // lnEnglish
    {{{L"Nom", L"Taille", L"Type", L"Date", L"Attributs"}}, {{L"Nom", L"Type", L"Taille Disque", L"Espace libre", L"Attributs"}}},  // lnFrench
    {{{L"Dateiname", L"Größe", L"Typ", L"Geändert am", L"Attribute"}}, {{L"Dateiname", L"Typ", L"Gesamtgröße", L"Freier Speicher", L"Attribute"}}},  // lnGerman
    {{{L"Nombre", L"Tamaño", L"Tipo", L"Modificado", L"Attributos"}}, {{L"Nombre", L"Tipo", L"Tamaño total", L"Espacio libre", L"Attributos"}}},  // lnSpanish
    {{{L"Nome", L"Tamanho", L"Tipo", L"Modificado", L"Atributos"}}, {{L"Nome", L"Tipo", L"Tamanho total", L"Espaço livre", L"Atributos"}}},  // lnPortuguese
    {{{L"Nome", L"Capacità", L"Tipo", L"Modificato", L"Attributi"}}, {{L"Nome", L"Tipo", L"Capacità disco", L"Disponibile", L"Attributi"}}},  // lnItalian
    {{{L"Naam", L"Grootte", L"Type", L"Gewijzigd op", L"Attr"}}, {{L"Naam", L"Type", L"Schijf groote", L"Vrije ruimte", L"Attr"}}},  // lnDutch
    {{{L"Nazwa", L"Rozmiar", L"Typ", L"Modyfikowany", L"Atrybut"}}, {{L"Nazwa", L"Typ", L"Rozmiar Dysku", L"Wolne Miejsce", L"Atrybut"}}},  // lnPolish
    {{{L"Názov", L"Ve¾kos\u009D", L"Typ", L"Zmenené", L"Atribúty"}}, {{L"Názov", L"Typ", L"Kapacita", L"Vo¾né miesto", L"Atribúty"}}},  // lnSlovak
};

const wchar_t* const kTreeMenu[kLanguageCount][kTreeMenuItemCount] = {
    {L"&New Folder",
     L"&Rename Folder",
     L"&Delete Folder",
     L"Cu&t",
     L"&Copy",
     L"&Paste",
     L"Tree &Size",
     L"&Folder Contents",
     L"&Map Network Drive ...",
     L"Dis&Connect Network Drive",
     L"&Property"},  // lnEnglish
    {L"&Nouveau Dossier",
     L"&Renommer le Dossier",
     L"&Effacer le Dossier",
     L"Cou&per",
     L"&Copier",
     L"Co&ller",
     L"Taille de l'&arborescence",
     L"&Contenu du Dossier",
     L"&Connecter Lecteur Réseau ...",
     L"&Déconnecter Lecteur Réseau",
     L"&Propriétés"},  // lnFrench
    {L"&Neuer Ordner",
     L"&Ordner umbenennen",
     L"Ordner &löschen",
     L"&Ausschneiden",
     L"&Kopieren",
     L"&Einfügen",
     L"Ordner&größe",
     L"Ordner&inhalt",
     L"Netzlaufwerk &verbinden...",
     L"Netzlaufwerk &trennen...",
     L"Eigen&schaften"},  // lnGerman
    {L"&Nueva carpeta",
     L"&Renombrar carpeta",
     L"&Borrar carpeta",
     L"Cor&tar",
     L"&Copiar",
     L"&Pegar",
     L"Ta&maño del árbol",
     L"C&ontenido de la carpeta",
     L"Con&ectar unidad de red",
     L"De&sconectar unidad de red",
     L"&Propiedades"},  // lnSpanish
    {L"&Nova pasta",
     L"&Renomear pasta",
     L"&Apagar pasta",
     L"Cor&tar",
     L"&Copiar",
     L"Col&ar",
     L"Ta&manho do diretório",
     L"C&onteúdo da pasta",
     L"Con&ectar unidade de rede",
     L"De&sconectar unidade de rede",
     L"&Propriedades"},  // lnPortuguese
    {L"&Nuova Cartella",
     L"&Rinomina Cartella",
     L"&Elimina Cartella",
     L"Ta&glia",
     L"&Copia",
     L"&Incolla",
     L"&Dimensioni elenco",
     L"Co&ntenuto Cartella",
     L"Connetti &unità di rete...",
     L"Dis&connetti unità di rete",
     L"&Prorietà"},  // lnItalian
    {L"&Nieuwe map",
     L"&Geef map andere naam",
     L"&Verwijer map",
     L"Knippen",
     L"&Kopiëren",
     L"&Plakken",
     L"Map grootte",
     L"&Map inhoud",
     L"&Map netwerk schijf ...",
     L"Verbreek verbinding met netwerk schijf",
     L"&Eigenschap"},  // lnDutch
    {L"Nowy &Folder",
     L"Zmiana &Nazwy Foldera",
     L"&Usuñ Folder",
     L"Wyt&nij",
     L"&Kopiuj",
     L"Wkl&ej",
     L"Poka¿ &Drzewo",
     L"&Poka¿ Treœæ Foldera",
     L"Po³¹cz z Dyskiem Sieciowym",
     L"Roz³¹cz Dysk Sieciowy",
     L"&W³aœciwoœci"},  // lnPolish
    {L"&Nový prieèinok",
     L"Pre&menova\u009D prieèinok",
     L"O&dstráni\u009D prieèinok",
     L"&Vystrihnú\u009D",
     L"&Kopírova\u009D",
     L"&Prilepi\u009D",
     L"Ve¾kos\u009D pod&stromu",
     L"&Obsah prieèinka",
     L"Pripo&ji\u009D sie\u009Dový disk ...",
     L"Odpo&ji\u009D sie\u009Dový disk",
     L"Vl&astnosti"},  // lnSlovak
};

const wchar_t* const kListMenu[kLanguageCount][kListMenuItemCount] = {
    {L"&Open",
     L"&View",
     L"Se&nd To",
     L"Cu&t",
     L"&Copy",
     L"&Paste",
     L"&Rename",
     L"&Delete",
     L"&Properties",
     L"&New Folder...",
     L"Any Folder ...",
     L"Clipboard as Contents",
     L"Clipboard as FileName",
     L"DeskTop as ShortCut"},  // lnEnglish
    {L"&Ouvrir",
     L"&Voir",
     L"Co&pier dans",
     L"C&ouper",
     L"&Copier",
     L"Co&ller",
     L"&Renommer",
     L"&Supprimer",
     L"&Propriétés",
     L"&Nouveau Dossier ...",
     L"le Dossier ...",
     L"Contenu dans le Presse-Papier",
     L"Nom du fichier  dans le Presse-Papier",
     L"Comme Raccourci sur le Bureau"},  // lnFrench
    {L"Ö&ffnen",
     L"An&zeigen",
     L"Se&nden an",
     L"&Ausschneiden",
     L"&Kopieren",
     L"&Einfügen",
     L"&Umbenennen",
     L"&Löschen",
     L"Eigen&schaften",
     L"Neuer &Ordner",
     L"Ordne&r...",
     L"&Datei(en) an Zwischenablage",
     L"Dateiname(n) an Z&wischenablage",
     L"&Verknüpfung auf den Desktop"},  // lnGerman
    {L"&Abrir",
     L"&Ver",
     L"E&nviar a",
     L"Cor&tar",
     L"&Copiar",
     L"&Pegar",
     L"&Renombrar",
     L"&Borrar",
     L"&Propiedades",
     L"&Nueva carpeta ...",
     L"Una carpeta ...",
     L"Copiar contenido al portapapeles",
     L"Copiar nombre del fichero al portapapeles",
     L"Acceso directo al escritorio"},  // lnSpanish
    {L"&Abrir",
     L"&Visualizar",
     L"E&nviar para",
     L"Cor&tar",
     L"&Copiar",
     L"Col&ar",
     L"&Renomear",
     L"&Apagar",
     L"&Propriedades",
     L"&Nova pasta ...",
     L"Para a pasta ...",
     L"Copiar conteúdo para área de transferência",
     L"Copiar somente o nome para área de transferência",
     L"Área de Trabalhao como Atalho"},  // lnPortuguese
    {L"&Apri",
     L"&An&teprima",
     L"In&via a",
     L"Tagl&ia",
     L"&Copia",
     L"&Incolla",
     L"&Rin&omina",
     L"&Elimina",
     L"&Proprietà",
     L"&Nuova Cartella...",
     L"Cartella ...",
     L"Copia il contenuto negli appunti",
     L"Copia il nome negli appunti",
     L"Collegamento al Desktop"},  // lnItalian
    {L"&Open",
     L"&Beeld",
     L"&Versturen naar",
     L"&Knippen",
     L"K&opiëren",
     L"&Plakken",
     L"&Naam wijzigen",
     L"&Verwijderen",
     L"&Eigenschappen",
     L"&Nieuwe map ...",
     L"Elke map ...",
     L"Klembord als inhoud",
     L"Klembord als bestandsnaam",
     L"Bureaublad als snelkoppeling"},  // lnDutch
    {L"&Otwórz",
     L"&Podgl¹d",
     L"Wyœlij &do",
     L"Wyt&nij",
     L"&Kopiuj",
     L"Wkl&ej",
     L"&Zmiana Nazwy",
     L"&Usuñ",
     L"&W³aœciwoœci",
     L"Nowy &Folder",
     L"Nastêpny Folder",
     L"Zapisz jako Treœæ",
     L"Zapisz jako Nazwa Pliku",
     L"Utwórz Skrót na Pulpicie"},  // lnPolish
    {L"&Otvori\u009D",
     L"&Zobrazi\u009D",
     L"Odos&la\u009D kam",
     L"&Vystrihnú\u009D",
     L"&Kopírova\u009D",
     L"&Prilepi\u009D",
     L"Pre&menova\u009D",
     L"O&dstráni\u009D",
     L"Vl&astnosti",
     L"&Nový prieèinok...",
     L"Prieèinok ...",
     L"Schránka - obsah súboru",
     L"Schránka - názov súboru",
     L"Pracovná plocha - vytvori\u009D odkaz"},  // lnSlovak
};

// The process-wide table; English until a widget loads its language.
std::array<std::wstring, kMsgCount> MakeEnglishTable() {
  std::array<std::wstring, kMsgCount> t;
  for (int r = 0; r < kMsgCount; ++r) t[r] = kMessages[0][r];
  return t;
}

std::array<std::wstring, kMsgCount>& Table() {
  static std::array<std::wstring, kMsgCount> table = MakeEnglishTable();
  return table;
}

void LoadRows(TLanguage l, Loader loader) {
  auto& table = Table();
  const int li = LangIndex(l);
  for (int r = 0; r < kMsgCount; ++r)
    if (kRowLoaders[r] & loader) table[r] = kMessages[li][r];
}

}  // namespace

const std::wstring& Text(Msg m) {
  static const std::wstring empty;
  const int r = static_cast<int>(m);
  return (r >= 0 && r < kMsgCount) ? Table()[r] : empty;
}

void LoadListTexts(TLanguage l) { LoadRows(l, kList); }
void LoadTreeTexts(TLanguage l) { LoadRows(l, kTree); }

const wchar_t* TextIn(TLanguage l, Msg m) {
  const int r = static_cast<int>(m);
  return (r >= 0 && r < kMsgCount) ? kMessages[LangIndex(l)][r] : L"";
}

const wchar_t* DriveTypeText(TLanguage l, unsigned driveType) {
  return kDriveTypes[LangIndex(l)][driveType <= 6 ? driveType : 0];
}

const std::array<const wchar_t*, 5>& ColumnHeadings(TLanguage l, bool driveMode) {
  const Headings& h = kHeadings[LangIndex(l)];
  return driveMode ? h.drive : h.folder;
}

const wchar_t* ListMenuCaption(TLanguage l, ListMenuItem item) {
  const int i = static_cast<int>(item);
  return (i >= 0 && i < kListMenuItemCount) ? kListMenu[LangIndex(l)][i] : L"";
}

const wchar_t* TreeMenuCaption(TLanguage l, TreeMenuItem item) {
  const int i = static_cast<int>(item);
  return (i >= 0 && i < kTreeMenuItemCount) ? kTreeMenu[LangIndex(l)][i] : L"";
}

}  // namespace ferlane
