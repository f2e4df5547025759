<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs">
<context>
    <name>CodePage</name>
    <message>
        <source>Latin-1 (as is)</source>
        <translation>Latin-1 (beze změny)</translation>
    </message>
    <message>
        <source>Windows-1252</source>
        <translation>Windows-1252</translation>
    </message>
    <message>
        <source>PC437 (US, box drawing)</source>
        <translation>PC437 (USA, rámečky)</translation>
    </message>
    <message>
        <source>PC850 (Western Europe)</source>
        <translation>PC850 (západní Evropa)</translation>
    </message>
    <message>
        <source>PC852 (Central Europe)</source>
        <translation>PC852 (střední Evropa)</translation>
    </message>
    <message>
        <source>Kamenicky (Czech and Slovak)</source>
        <translation>Kamenických (čeština a slovenština)</translation>
    </message>
    <message>
        <source>PC866 (Cyrillic)</source>
        <translation>PC866 (cyrilice)</translation>
    </message>
</context>
<context>
    <name>CodePageBar</name>
    <message>
        <source>Read the file in the code page offered</source>
        <translation>Číst soubor v nabízené kódové stránce</translation>
    </message>
    <message>
        <source>Keep the code page</source>
        <translation>Ponechat kódovou stránku</translation>
    </message>
    <message>
        <source>This file looks written in %1.</source>
        <translation>Tento soubor se zdá být zapsán v %1.</translation>
    </message>
    <message>
        <source>Read it in %1</source>
        <translation>Číst v %1</translation>
    </message>
</context>
<context>
    <name>DesktopPrinting</name>
    <message>
        <source>The preview shows at most %1 pages, and this print has %2. Choose fewer pages to see them, or print them.</source>
        <translation>Náhled ukáže nejvýše %1 stran a tento tisk jich má %2. Vyberte méně stran, chcete-li je vidět, nebo je vytiskněte.</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 nelze zapsat: %2.</translation>
    </message>
    <message>
        <source>%1: the pages were not read</source>
        <translation>%1: stránky nebyly načteny</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 nelze zapsat: %2</translation>
    </message>
    <message>
        <source>%1: pictures show the sheets of the printed look</source>
        <translation>%1: obrázky zobrazují listy tiskového vzhledu</translation>
    </message>
    <message>
        <source>%1: %2 pages to draw, more than the %3 that a PDF or pictures may hold; choose fewer pages</source>
        <translation>%1: %2 stran ke kreslení, více než %3, které může obsahovat PDF nebo obrázky; zvolte méně stran</translation>
    </message>
    <message>
        <source>Cannot write %1: it is the input %2.</source>
        <translation>Nelze zapsat %1: je to vstupní soubor %2.</translation>
    </message>
</context>
<context>
    <name>ExportFormat</name>
    <message>
        <source> Rich Text Format (*.rtf)</source>
        <translation> Formát RTF (*.rtf)</translation>
    </message>
    <message>
        <source> Text  (*.txt) </source>
        <translation> Text  (*.txt) </translation>
    </message>
    <message>
        <source> Excel WorkBook (*.xls)</source>
        <translation> Sešit Excel (*.xls)</translation>
    </message>
    <message>
        <source> Web Page (*.HTML)</source>
        <translation> Webová stránka (*.HTML)</translation>
    </message>
    <message>
        <source> PDF Document (*.pdf)</source>
        <translation> Dokument PDF (*.pdf)</translation>
    </message>
</context>
<context>
    <name>FileChangeBar</name>
    <message>
        <source>The file changed on disk; the view shows it as it was loaded.</source>
        <translation>Soubor se na disku změnil; zobrazení ukazuje stav při načtení.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Znovu načíst</translation>
    </message>
    <message>
        <source>The file was written again on disk; reload it to read it whole.</source>
        <translation>Soubor byl na disku znovu zapsán; načtěte jej znovu, abyste jej přečetli celý.</translation>
    </message>
</context>
<context>
    <name>ForeignJobBar</name>
    <message>
        <source>Close this note</source>
        <translation>Zavřít toto upozornění</translation>
    </message>
    <message>
        <source>This file is a job in another printer language (%1), not an ESC/P print file: it is shown as ESC/P all the same.</source>
        <translation>Tento soubor je tisková úloha v jiném jazyce tiskárny (%1), nikoli tiskový soubor ESC/P: přesto se zobrazuje jako ESC/P.</translation>
    </message>
</context>
<context>
    <name>FormChoiceDialog</name>
    <message>
        <source>Forms under the printed sheets</source>
        <translation>Formuláře pod vytištěnými listy</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Procházet...</translation>
    </message>
    <message>
        <source>&amp;First sheet:</source>
        <translation>&amp;První list:</translation>
    </message>
    <message>
        <source>&amp;Later sheets:</source>
        <translation>&amp;Další listy:</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>&amp;Offset right, down:</source>
        <translation>&amp;Posun vpravo, dolů:</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>V&amp;yprázdnit</translation>
    </message>
    <message>
        <source>Choose a form</source>
        <translation>Zvolte formulář</translation>
    </message>
    <message>
        <source>Forms|*.pdf *.png *.jpg *.jpeg|All files|*</source>
        <translation>Formuláře|*.pdf *.png *.jpg *.jpeg|Všechny soubory|*</translation>
    </message>
</context>
<context>
    <name>Frm0010Sticker</name>
    <message>
        <source>Velmora Software - Utility</source>
        <translation>Velmora Software - Nástroj</translation>
    </message>
    <message>
        <source>Sticker Printing</source>
        <translation>Tisk štítků</translation>
    </message>
    <message>
        <source>Double-click to show the Setting button, or right-click for the settings.</source>
        <translation>Dvojklikem zobrazíte tlačítko Nastavení, pravým tlačítkem nastavení otevřete.</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Nastavení...</translation>
    </message>
    <message>
        <source>Watch a Folder for Print Jobs...</source>
        <translation>Sledovat složku s tiskovými úlohami...</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Otevřít...</translation>
    </message>
    <message>
        <source>Open a print file in a report view (Ctrl+O); the arrow lists the recent files</source>
        <translation>Otevřít tiskový soubor v zobrazení sestavy (Ctrl+O); šipka nabídne naposledy otevřené soubory</translation>
    </message>
    <message>
        <source>Open Print File</source>
        <translation>Otevřít tiskový soubor</translation>
    </message>
    <message>
        <source>No of Sticker</source>
        <translation>Počet štítků</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>List</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Setting </source>
        <translation>Nastavení </translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Náhled</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Nastavení</translation>
    </message>
    <message>
        <source>SHO&amp;W</source>
        <translation>&amp;UKÁZAT</translation>
    </message>
    <message>
        <source>Display Page Wise  Print View </source>
        <translation>Zobrazit náhled tisku po stránkách </translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Tisk</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Uložit</translation>
    </message>
    <message>
        <source>    E &amp;X I T</source>
        <translation>&amp;KONEC</translation>
    </message>
    <message>
        <source>Return to Main Menu</source>
        <translation>Návrat do hlavní nabídky</translation>
    </message>
    <message>
        <source>SPace Between Col</source>
        <translation>Mezera mezi sloupci</translation>
    </message>
    <message>
        <source>Col</source>
        <translation>Sloupce</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Řádky</translation>
    </message>
    <message>
        <source>Margin Between Two Sticker</source>
        <translation>Okraj mezi dvěma štítky</translation>
    </message>
    <message>
        <source>Max Field Lenth</source>
        <translation>Max. délka pole</translation>
    </message>
    <message>
        <source>Max Field</source>
        <translation>Max. počet polí</translation>
    </message>
    <message>
        <source>Row Printing</source>
        <translation>Tisk řádků</translation>
    </message>
    <message>
        <source>Loop Position</source>
        <translation>Pozice smyčky</translation>
    </message>
    <message>
        <source>Normal    ( 80 Col )</source>
        <translation>Normální  ( 80 sloupců )</translation>
    </message>
    <message>
        <source>Cond.     (136 Col )</source>
        <translation>Zhuštěné (136 sloupců )</translation>
    </message>
    <message>
        <source>Window base Setting</source>
        <translation>Nastavení pro tisk přes Windows</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Název písma</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Velikost písma</translation>
    </message>
    <message>
        <source>Margin Top</source>
        <translation>Horní okraj</translation>
    </message>
    <message>
        <source>Margin Left</source>
        <translation>Levý okraj</translation>
    </message>
    <message>
        <source>Sticker Left Space</source>
        <translation>Levá mezera štítku</translation>
    </message>
    <message>
        <source>Space Between Two value</source>
        <translation>Mezera mezi hodnotami</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Řádek %1</translation>
    </message>
    <message>
        <source>Line 4 range, first number</source>
        <translation>Rozsah řádku 4, první číslo</translation>
    </message>
    <message>
        <source>Line 4 range, last number</source>
        <translation>Rozsah řádku 4, poslední číslo</translation>
    </message>
    <message>
        <source>Line 5 range, first number</source>
        <translation>Rozsah řádku 5, první číslo</translation>
    </message>
    <message>
        <source>Line 5 range, last number</source>
        <translation>Rozsah řádku 5, poslední číslo</translation>
    </message>
    <message>
        <source>Loop line</source>
        <translation>Řádek smyčky</translation>
    </message>
    <message>
        <source>Line 4 range counts on</source>
        <translation>Rozsah řádku 4 počítá dál</translation>
    </message>
    <message>
        <source>Line 5 range counts on</source>
        <translation>Rozsah řádku 5 počítá dál</translation>
    </message>
    <message>
        <source>Window mode</source>
        <translation>Tisk přes Windows</translation>
    </message>
    <message>
        <source>Sticker sheet preview</source>
        <translation>Náhled archu štítků</translation>
    </message>
    <message>
        <source>Writing the sticker sheet ...</source>
        <translation>Zapisuje se arch štítků ...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
</context>
<context>
    <name>FrmReport</name>
    <message>
        <source>No file name was given.</source>
        <translation>Nebyl zadán název souboru.</translation>
    </message>
    <message>
        <source>The print file &quot;%1&quot; cannot be read.
%2</source>
        <translation>Tiskový soubor „%1“ nelze přečíst.
%2</translation>
    </message>
    <message>
        <source>Report View</source>
        <translation>Zobrazení sestavy</translation>
    </message>
    <message>
        <source>Reading %1 as printed ...</source>
        <translation>Načítá se %1 tak, jak se tiskne ...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulář</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Kalkulačka</translation>
    </message>
    <message>
        <source>Search String</source>
        <translation>Hledaný text</translation>
    </message>
    <message>
        <source>Go to page</source>
        <translation>Přejít na stranu</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Strana</translation>
    </message>
    <message>
        <source>Page, editable</source>
        <translation>Strana, upravitelná</translation>
    </message>
    <message>
        <source>Printed sheet</source>
        <translation>Vytištěný list</translation>
    </message>
    <message>
        <source>%1 colour</source>
        <translation>Barva: %1</translation>
    </message>
    <message>
        <source>Search matches bold</source>
        <translation>Nalezené výskyty tučně</translation>
    </message>
    <message>
        <source>Highlighted text bold</source>
        <translation>Zvýrazněný text tučně</translation>
    </message>
    <message>
        <source>Close the colour settings</source>
        <translation>Zavřít nastavení barev</translation>
    </message>
    <message>
        <source>Form length</source>
        <translation>Délka formuláře</translation>
    </message>
    <message>
        <source>Carriage</source>
        <translation>Válec</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>První strana</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Poslední strana</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Kopie</translation>
    </message>
    <message>
        <source>More or fewer copies</source>
        <translation>Více nebo méně kopií</translation>
    </message>
    <message>
        <source>Paper height</source>
        <translation>Výška papíru</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Lupa</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Přiblížit</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Oddálit</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Skutečná velikost</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>Přizpůsobit šířce</translation>
    </message>
    <message>
        <source>Fit Page</source>
        <translation>Celá strana</translation>
    </message>
    <message>
        <source>Printed</source>
        <translation>Jako vytištěné</translation>
    </message>
    <message>
        <source>The page is too large to edit here (%1 MB; at most %2 MB).</source>
        <translation>Strana je příliš velká na úpravy zde (%1 MB; nejvýše %2 MB).</translation>
    </message>
    <message>
        <source>Reading the pages of %1 ...</source>
        <translation>Načítají se stránky souboru %1 ...</translation>
    </message>
    <message>
        <source>Report View </source>
        <translation>Zobrazení sestavy </translation>
    </message>
    <message>
        <source>Color Setting</source>
        <translation>Nastavení barev</translation>
    </message>
    <message>
        <source>Vsual</source>
        <translation>Vizuálně</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importovat</translation>
    </message>
    <message>
        <source> Pre-View </source>
        <translation> Náhled </translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation>&amp;První</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zpět</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Další</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>Po&amp;slední</translation>
    </message>
    <message>
        <source>GOTO</source>
        <translation>PŘEJÍT</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Exel Export</source>
        <translation>Export Excel</translation>
    </message>
    <message>
        <source>Cont.. </source>
        <translation>Souv.. </translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Upravit</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Tisk</translation>
    </message>
    <message>
        <source>Open Print Dilog Box</source>
        <translation>Otevřít dialog tisku</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Konec</translation>
    </message>
    <message>
        <source>[ TXT File Only ]Select A File From Which To Retrive Data</source>
        <translation>[ Pouze soubory TXT ]Vyberte soubor, ze kterého se načtou data</translation>
    </message>
    <message>
        <source>Page %1/%2</source>
        <translation>Strana %1/%2</translation>
    </message>
    <message>
        <source> Select Valid PageNo...!</source>
        <translation> Zadejte platné číslo stránky...!</translation>
    </message>
    <message>
        <source> Report View   [ Sheet : %1/%2 ]   %3</source>
        <translation> Zobrazení sestavy   [ List : %1/%2 ]   %3</translation>
    </message>
    <message>
        <source> Report View   [ Col : %1 Line : %2 ]   %3   %4</source>
        <translation> Zobrazení sestavy   [ Sl : %1 Řádek : %2 ]   %3   %4</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopírovat</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Vložit</translation>
    </message>
    <message>
        <source>Highlight Text</source>
        <translation>Zvýraznit text</translation>
    </message>
    <message>
        <source>Rules...</source>
        <translation>Pravidla...</translation>
    </message>
    <message>
        <source>Printer model</source>
        <translation>Model tiskárny</translation>
    </message>
    <message>
        <source>Reading the lines of %1 ...</source>
        <translation>Načítají se řádky souboru %1 ...</translation>
    </message>
</context>
<context>
    <name>FrmWatch</name>
    <message>
        <source>Stop Watching</source>
        <translation>Ukončit sledování</translation>
    </message>
    <message>
        <source>Watching for print jobs</source>
        <translation>Sledování tiskových úloh</translation>
    </message>
    <message>
        <source>Watching %1</source>
        <translation>Sleduje se %1</translation>
    </message>
    <message>
        <source>Watch a folder for print jobs</source>
        <translation>Sledovat složku s tiskovými úlohami</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>Sledování</translation>
    </message>
    <message>
        <source>No print file waits for a report view.</source>
        <translation>Na zobrazení sestavy nečeká žádný tiskový soubor.</translation>
    </message>
    <message>
        <source>1 print file waits for a report view to close.</source>
        <translation>Na zavření zobrazení sestavy čeká 1 tiskový soubor.</translation>
    </message>
    <message>
        <source>%1 print files wait for a report view to close.</source>
        <translation>Počet tiskových souborů čekajících na zavření zobrazení sestavy: %1.</translation>
    </message>
    <message>
        <source>%1: %2 was not opened, as its name is not UTF-8. Rename it (convmv -f latin1 -t utf-8) and it opens.</source>
        <translation>%1: Soubor %2 nebyl otevřen, protože jeho název není v UTF-8. Přejmenujte jej (convmv -f latin1 -t utf-8) a otevře se.</translation>
    </message>
</context>
<context>
    <name>OpenReportView</name>
    <message>
        <source> Max Six Report View Open ...<byte value="xd"/>
<byte value="xd"/>
 Please Close Report View and Try Again ..</source>
        <translation> Otevřeno nejvýše šest náhledů sestav ...<byte value="xd"/>
<byte value="xd"/>
 Zavřete prosím některý náhled sestavy a zkuste to znovu ..</translation>
    </message>
</context>
<context>
    <name>PageCutBar</name>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>Stop opening the file</source>
        <translation>Zastavit otevírání souboru</translation>
    </message>
    <message>
        <source>Reading the pages: %1 so far ...</source>
        <translation>Načítají se stránky: zatím %1 ...</translation>
    </message>
</context>
<context>
    <name>PageSearch</name>
    <message>
        <source>Matches</source>
        <translation>Výskyty</translation>
    </message>
    <message>
        <source>The search stopped at %1 matches of &quot;%2&quot;: those are marked.</source>
        <translation>Hledání se zastavilo po %1 výskytech „%2“: ty jsou označeny.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Hledat</translation>
    </message>
    <message>
        <source>no match</source>
        <translation>nenalezeno</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 z %2</translation>
    </message>
</context>
<context>
    <name>PageView</name>
    <message>
        <source>The selection holds %L1 characters, more than the %L2 the clipboard takes. Nothing was copied: export the pages as text instead.</source>
        <translation>Výběr obsahuje %L1 znaků, více než %L2, které pojme schránka. Nic nebylo zkopírováno: exportujte stránky raději jako text.</translation>
    </message>
    <message>
        <source>Information Window</source>
        <translation>Informace</translation>
    </message>
</context>
<context>
    <name>PrintFileActions</name>
    <message>
        <source> Txt File(*.txt)</source>
        <translation> Textový soubor(*.txt)</translation>
    </message>
    <message>
        <source>Print files (*.prn *.PRN *.esc)</source>
        <translation>Tiskové soubory (*.prn *.PRN *.esc)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Všechny soubory (*)</translation>
    </message>
    <message>
        <source>Open Print File</source>
        <translation>Otevřít tiskový soubor</translation>
    </message>
    <message>
        <source>Open Print File...</source>
        <translation>Otevřít tiskový soubor...</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Nedávné soubory</translation>
    </message>
    <message>
        <source>(none yet)</source>
        <translation>(zatím žádné)</translation>
    </message>
</context>
<context>
    <name>PrintFileWatcher</name>
    <message>
        <source>no such folder</source>
        <translation>taková složka neexistuje</translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>není to složka</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>přístup odepřen</translation>
    </message>
    <message>
        <source>Cannot watch %1: %2</source>
        <translation>%1 nelze sledovat: %2</translation>
    </message>
</context>
<context>
    <name>PrintPanel</name>
    <message>
        <source>Select &amp;Printer</source>
        <translation>Vybrat &amp;tiskárnu</translation>
    </message>
    <message>
        <source>Defult Printer :  </source>
        <translation>Výchozí tiskárna :  </translation>
    </message>
    <message>
        <source>Dos</source>
        <translation>DOS</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Volba</translation>
    </message>
    <message>
        <source>Advance Cond. ( 20 Cpi )</source>
        <translation>Extra zhuštěné ( 20 Cpi )</translation>
    </message>
    <message>
        <source>Draft</source>
        <translation>Koncept</translation>
    </message>
    <message>
        <source>10 Cpi , 80 Col.</source>
        <translation>10 Cpi , 80 sl.</translation>
    </message>
    <message>
        <source>Cond.  ( 17 Cpi, 136 Col )</source>
        <translation>Zhuštěné  ( 17 Cpi, 136 sl )</translation>
    </message>
    <message>
        <source>Semi Cond. ( 12 Cpi, 96 Col  )</source>
        <translation>Polozhuštěné ( 12 Cpi, 96 sl  )</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Na výšku</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Na šířku</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Všechny stránky</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Aktuální stránka</translation>
    </message>
    <message>
        <source>Page Range</source>
        <translation>Rozsah stránek</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Tisk</translation>
    </message>
    <message>
        <source> C&amp;lose</source>
        <translation> &amp;Zavřít</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Náhled</translation>
    </message>
    <message>
        <source>No of Copies :</source>
        <translation>Počet kopií :</translation>
    </message>
    <message>
        <source>Paper Height :</source>
        <translation>Výška papíru :</translation>
    </message>
    <message>
        <source>to</source>
        <translation>až</translation>
    </message>
    <message>
        <source>Select any of the Printer from  Printers Collection</source>
        <translation>Vyberte některou tiskárnu ze  seznamu tiskáren</translation>
    </message>
    <message>
        <source>plese Check Velue...</source>
        <translation>Zkontrolujte prosím hodnotu...</translation>
    </message>
    <message>
        <source>Defult Printer :%1</source>
        <translation>Výchozí tiskárna :%1</translation>
    </message>
    <message>
        <source> %1  : Maximum </source>
        <translation> %1  : Nejvýše </translation>
    </message>
    <message>
        <source>Are You Sure You Want To Print &amp; Printer is Ready and Online ...</source>
        <translation>Opravdu tisknout &amp; je tiskárna připravena a online ...</translation>
    </message>
    <message>
        <source>The page file %1 cannot be written.
%2</source>
        <translation>Soubor stránek %1 nelze zapsat.
%2</translation>
    </message>
    <message>
        <source>Nothing was printed: the number of copies is %1.</source>
        <translation>Nic nebylo vytištěno: počet kopií je %1.</translation>
    </message>
</context>
<context>
    <name>PrintedLookBar</name>
    <message>
        <source>Show it as printed</source>
        <translation>Zobrazit jako vytištěné</translation>
    </message>
    <message>
        <source>Show the file as printed</source>
        <translation>Zobrazit soubor jako vytištěný</translation>
    </message>
    <message>
        <source>Keep the emphasis look</source>
        <translation>Ponechat zobrazení se zvýrazněním</translation>
    </message>
    <message>
        <source>pictures</source>
        <translation>obrázky</translation>
    </message>
    <message>
        <source>text set at positions</source>
        <translation>text umístěný na pozice</translation>
    </message>
    <message>
        <source>files without a suffix</source>
        <translation>soubory bez přípony</translation>
    </message>
    <message>
        <source>.%1 files</source>
        <translation>soubory .%1</translation>
    </message>
    <message>
        <source>This file holds %1 that only the printed look shows (your answer is kept for %2).</source>
        <translation>Tento soubor obsahuje %1, které ukáže jen vzhled tisku (vaše odpověď platí pro %2).</translation>
    </message>
</context>
<context>
    <name>PrinterModels</name>
    <message>
        <source>Printer: as the file tells</source>
        <translation>Tiskárna: podle souboru</translation>
    </message>
    <message>
        <source>9-pin printer (ESC/P)</source>
        <translation>9jehličková tiskárna (ESC/P)</translation>
    </message>
    <message>
        <source>24-pin printer (ESC/P)</source>
        <translation>24jehličková tiskárna (ESC/P)</translation>
    </message>
    <message>
        <source>ESC/P2 printer</source>
        <translation>Tiskárna ESC/P2</translation>
    </message>
</context>
<context>
    <name>PrinterStickerSurface</name>
    <message>
        <source>Stickers</source>
        <translation>Štítky</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; did not accept the print job.</source>
        <translation>Tiskárna „%1“ tiskovou úlohu nepřijala.</translation>
    </message>
    <message>
        <source>The print job could not be completed.</source>
        <translation>Tiskovou úlohu nebylo možné dokončit.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be written.</source>
        <translation>Soubor „%1“ nebylo možné zapsat.</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>Printer Error Information</source>
        <translation>Informace o chybě tiskárny</translation>
    </message>
    <message>
        <source>The Printer Name (%1) wasn&apos;t recognized.</source>
        <translation>Název tiskárny (%1) nebyl rozpoznán.</translation>
    </message>
    <message>
        <source>The printer %1 cannot start the job.</source>
        <translation>Tiskárna %1 nemůže zahájit úlohu.</translation>
    </message>
    <message>
        <source>The sheet from byte %1 of the file holds more pictures than the %2 MB a sheet may take.</source>
        <translation>List od bajtu %1 souboru obsahuje více obrázků, než kolik unese %2 MB povolených na list.</translation>
    </message>
    <message>
        <source>The printer %1 refused a new page.</source>
        <translation>Tiskárna %1 odmítla novou stránku.</translation>
    </message>
    <message>
        <source>The printer %1 could not finish the job.</source>
        <translation>Tiskárna %1 nemohla dokončit úlohu.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
Error number: %2<byte value="xd"/>
Error context: %3<byte value="xd"/>
Description:  %4</source>
        <translation>%1<byte value="xd"/>
Číslo chyby: %2<byte value="xd"/>
Kontext chyby: %3<byte value="xd"/>
Popis:  %4</translation>
    </message>
    <message>
        <source>Error Window</source>
        <translation>Okno chyby</translation>
    </message>
    <message>
        <source>Asking the print server for the printer...</source>
        <translation>Dotaz na tiskárnu u tiskového serveru...</translation>
    </message>
    <message>
        <source>No Printers Installed to do the Print job</source>
        <translation>Pro tiskovou úlohu není nainstalována žádná tiskárna</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; is not installed.</source>
        <translation>Tiskárna „%1“ není nainstalována.</translation>
    </message>
    <message>
        <source>Information Window</source>
        <translation>Informace</translation>
    </message>
    <message>
        <source>Printing.... </source>
        <translation>Tisk.... </translation>
    </message>
    <message>
        <source>Procedure Name : PrintFile</source>
        <translation>Název procedury : PrintFile</translation>
    </message>
    <message>
        <source>Sending %1 to the printer...</source>
        <translation>Odesílání %1 na tiskárnu...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
    <message>
        <source>The printer took nothing for %1 seconds.</source>
        <translation>Tiskárna %1 sekund nic nepřijala.</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Tiskárna</translation>
    </message>
    <message>
        <source>The print server %1 does not answer.</source>
        <translation>Tiskový server %1 neodpovídá.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Zrušeno.</translation>
    </message>
    <message>
        <source>Cannot connect to the print server %1.</source>
        <translation>Nelze se připojit k tiskovému serveru %1.</translation>
    </message>
    <message>
        <source>The print server %1 did not answer within %2 seconds.</source>
        <translation>Tiskový server %1 neodpověděl do %2 sekund.</translation>
    </message>
    <message>
        <source>The paper height (%1) must be a number of inches from 0 to 255.</source>
        <translation>Výška papíru (%1) musí být počet palců od 0 do 255.</translation>
    </message>
    <message>
        <source>File %1 does not exists</source>
        <translation>Soubor %1 neexistuje</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 nelze přečíst: %2</translation>
    </message>
    <message>
        <source>Printing %1 was cancelled; nothing of it prints.</source>
        <translation>Tisk %1 byl zrušen; nic z něj se nevytiskne.</translation>
    </message>
    <message>
        <source>%1 Nothing was printed.</source>
        <translation>%1 Nic nebylo vytištěno.</translation>
    </message>
    <message>
        <source>%1: %2; nothing of it prints.</source>
        <translation>%1: %2; nic z něj se nevytiskne.</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Neznámá chyba</translation>
    </message>
    <message>
        <source>The sheet from byte %1 of the file holds more than the %2 runs of text a sheet may take.</source>
        <translation>List od bajtu %1 souboru obsahuje víc než %2 úseků textu povolených na list.</translation>
    </message>
    <message>
        <source>The printer %1 did not take the job: %2</source>
        <translation>Tiskárna %1 úlohu nepřijala: %2</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The system has no converter for %1 (%2): %3</source>
        <translation>Systém nemá převodník pro %1 (%2): %3</translation>
    </message>
    <message>
        <source>the export was stopped.</source>
        <translation>export byl zastaven.</translation>
    </message>
    <message>
        <source>Cannot read the print file %1: %2</source>
        <translation>Tiskový soubor %1 nelze přečíst: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 nelze zapsat: %2</translation>
    </message>
    <message>
        <source>Cannot read the print file %1: it %2.</source>
        <translation>Tiskový soubor %1 nelze přečíst: %2.</translation>
    </message>
    <message>
        <source>Page %1 is not in the report, which has %2 pages.</source>
        <translation>Strana %1 v sestavě není, sestava má stran: %2.</translation>
    </message>
    <message>
        <source>No page is chosen.</source>
        <translation>Není zvolena žádná strana.</translation>
    </message>
    <message>
        <source>The output is not open for writing.</source>
        <translation>Výstup není otevřen pro zápis.</translation>
    </message>
    <message>
        <source>The PDF writer cannot start.</source>
        <translation>Zápis PDF nelze spustit.</translation>
    </message>
    <message>
        <source>The PDF writer refused a new page.</source>
        <translation>Zápis PDF odmítl novou stranu.</translation>
    </message>
    <message>
        <source>The PDF was cancelled.</source>
        <translation>PDF bylo zrušeno.</translation>
    </message>
    <message>
        <source>the picture is too large for the memory</source>
        <translation>obrázek je pro paměť příliš velký</translation>
    </message>
    <message>
        <source>The resolution must be %1 to %2 dots per inch.</source>
        <translation>Rozlišení musí být %1 až %2 bodů na palec.</translation>
    </message>
    <message>
        <source>The pictures were cancelled.</source>
        <translation>Obrázky byly zrušeny.</translation>
    </message>
    <message>
        <source>The PNG writer cannot start.</source>
        <translation>Zápis PNG nelze spustit.</translation>
    </message>
    <message>
        <source>The export was cancelled.</source>
        <translation>Export byl zrušen.</translation>
    </message>
    <message>
        <source>the workbook cannot be read back.</source>
        <translation>sešit nelze zpětně přečíst.</translation>
    </message>
    <message>
        <source>its part %1 was not written in full.</source>
        <translation>jeho část %1 nebyla zapsána celá.</translation>
    </message>
    <message>
        <source>Cannot write %1: the workbook could not be started.</source>
        <translation>%1 nelze zapsat: sešit nebylo možné založit.</translation>
    </message>
    <message>
        <source>Cannot write %1: the print file has more than %2 lines, more than a worksheet holds.</source>
        <translation>%1 nelze zapsat: tiskový soubor má víc než %2 řádků, víc, než pojme list.</translation>
    </message>
    <message>
        <source>The workbook %1 was not written: the export was stopped.</source>
        <translation>Sešit %1 nebyl zapsán: export byl zastaven.</translation>
    </message>
    <message>
        <source>the form offset &quot;%1&quot; is not X,Y in millimetres, each -%2 to %2</source>
        <translation>posun formuláře „%1“ není X,Y v milimetrech, každé od -%2 do %2</translation>
    </message>
    <message>
        <source>the form does not exist</source>
        <translation>formulář neexistuje</translation>
    </message>
    <message>
        <source>the form is not a regular file</source>
        <translation>formulář není běžný soubor</translation>
    </message>
    <message>
        <source>the form cannot be read: %1</source>
        <translation>formulář nelze přečíst: %1</translation>
    </message>
    <message>
        <source>the form is not a PDF, PNG or JPEG file</source>
        <translation>formulář není soubor PDF, PNG ani JPEG</translation>
    </message>
    <message>
        <source>an image form has no pages to choose from</source>
        <translation>obrázkový formulář nemá strany k výběru</translation>
    </message>
    <message>
        <source>the form cannot be read as a PDF</source>
        <translation>formulář nelze přečíst jako PDF</translation>
    </message>
    <message>
        <source>the form is locked by a password</source>
        <translation>formulář je zamčen heslem</translation>
    </message>
    <message>
        <source>the form has no page</source>
        <translation>formulář nemá žádnou stranu</translation>
    </message>
    <message>
        <source>the form has no page %1 (it has %2)</source>
        <translation>formulář nemá stranu %1 (počet stran: %2)</translation>
    </message>
    <message>
        <source>the form&apos;s page %1 cannot be read</source>
        <translation>stranu %1 formuláře nelze přečíst</translation>
    </message>
    <message>
        <source>the form cannot be read as an image: %1</source>
        <translation>formulář nelze přečíst jako obrázek: %1</translation>
    </message>
    <message>
        <source>the form&apos;s page has no size</source>
        <translation>strana formuláře nemá velikost</translation>
    </message>
    <message>
        <source>the form has no page %1</source>
        <translation>formulář nemá stranu %1</translation>
    </message>
    <message>
        <source>Cannot make a temporary file in %1: %2</source>
        <translation>V %1 nelze vytvořit dočasný soubor: %2</translation>
    </message>
    <message>
        <source>Cannot write the temporary file %1: %2</source>
        <translation>Dočasný soubor %1 nelze zapsat: %2</translation>
    </message>
    <message>
        <source>No desktop calculator is installed.
Install one of: %1.</source>
        <translation>Není nainstalována žádná kalkulačka.
Nainstalujte jednu z: %1.</translation>
    </message>
    <message>
        <source>The calculator &quot;%1&quot; could not be started.</source>
        <translation>Kalkulačku „%1“ nebylo možné spustit.</translation>
    </message>
    <message>
        <source>it is a device or a pipe, not a regular file.</source>
        <translation>je to zařízení nebo roura, ne běžný soubor.</translation>
    </message>
    <message>
        <source>changed while it was being read</source>
        <translation>byl během čtení změněn</translation>
    </message>
    <message>
        <source>It is empty or not a regular file.</source>
        <translation>Je prázdný nebo to není běžný soubor.</translation>
    </message>
    <message>
        <source>Too many files are open.</source>
        <translation>Je otevřeno příliš mnoho souborů.</translation>
    </message>
    <message>
        <source>refusing to follow a link another user planted in a shared folder.</source>
        <translation>odkaz, který jiný uživatel umístil do sdílené složky, se nenásleduje.</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be saved.</source>
        <translation>Soubor nastavení %1 nelze uložit.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Není to běžný soubor.</translation>
    </message>
    <message>
        <source>It changed while it was being read.</source>
        <translation>Byl během čtení změněn.</translation>
    </message>
    <message>
        <source>The page holds %1, which the code page %2 has no byte for.</source>
        <translation>Stránka obsahuje %1, pro které kódová stránka %2 nemá žádný bajt.</translation>
    </message>
    <message>
        <source>&quot;#page=%1&quot; names no page (#page=N, from 1)</source>
        <translation>&quot;#page=%1&quot; neoznačuje žádnou stránku (#page=N, od 1)</translation>
    </message>
    <message>
        <source>the form is larger than %1 MB, more than a form may be</source>
        <translation>formulář je větší než %1 MB, víc, než smí formulář mít</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>během čtení se změnil</translation>
    </message>
    <message>
        <source>it is a folder, not a regular file.</source>
        <translation>je to složka, ne běžný soubor.</translation>
    </message>
    <message>
        <source>the form is an image too large to be read (%1 x %2 pixels, more than %3 million; scan it at a lower resolution, 300 or 600 dpi)</source>
        <translation>formulář je obrázek příliš velký ke čtení (%1 x %2 pixelů, více než %3 milionů; naskenujte jej v nižším rozlišení, 300 nebo 600 dpi)</translation>
    </message>
</context>
<context>
    <name>ReportColorPanel</name>
    <message>
        <source>Double-click to choose the colour</source>
        <translation>Dvojklikem zvolíte barvu</translation>
    </message>
    <message>
        <source>Show the pages as the printer prints them: sheets, pictures and columns</source>
        <translation>Zobrazit strany tak, jak je tiskárna tiskne: listy, obrázky a sloupce</translation>
    </message>
    <message>
        <source>11 in form</source>
        <translation>Formulář 11 palců</translation>
    </message>
    <message>
        <source>12 in form (European fanfold)</source>
        <translation>Formulář 12 palců (evropský skládaný papír)</translation>
    </message>
    <message>
        <source>Wide carriage (13.6 in)</source>
        <translation>Široký válec (13,6 palce)</translation>
    </message>
    <message>
        <source>Narrow carriage (8 in)</source>
        <translation>Úzký válec (8 palců)</translation>
    </message>
    <message>
        <source>The printer the file was written for: 9 and 24 pins count line spacing in other steps</source>
        <translation>Tiskárna, pro kterou byl soubor zapsán: 9 a 24 jehel počítá řádkování v jiných krocích</translation>
    </message>
    <message>
        <source>Form...</source>
        <translation>Formulář...</translation>
    </message>
    <message>
        <source>Lay a PDF page or an image under the printed sheets, as pre-printed paper</source>
        <translation>Podložit pod vytištěné listy stranu PDF nebo obrázek jako předtištěný papír</translation>
    </message>
    <message>
        <source>%1 in form</source>
        <translation>Formulář %1 palců</translation>
    </message>
    <message>
        <source>Read as: %1</source>
        <translation>Čteno jako: %1</translation>
    </message>
    <message>
        <source>Dubble</source>
        <translation>Dvojité</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Tučné</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normální</translation>
    </message>
    <message>
        <source>Condence</source>
        <translation>Zhuštěné</translation>
    </message>
    <message>
        <source>Report Backcolor</source>
        <translation>Pozadí sestavy</translation>
    </message>
    <message>
        <source>Search String</source>
        <translation>Hledaný text</translation>
    </message>
    <message>
        <source>HighLight Text</source>
        <translation>Zvýrazněný text</translation>
    </message>
    <message>
        <source>Color Setting</source>
        <translation>Nastavení barev</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>-1  Line</source>
        <translation>-1  řádek</translation>
    </message>
    <message>
        <source>Code page</source>
        <translation>Kódová stránka</translation>
    </message>
    <message>
        <source>Detect</source>
        <translation>Rozpoznat</translation>
    </message>
    <message>
        <source>Printed</source>
        <translation>Jako vytištěné</translation>
    </message>
</context>
<context>
    <name>ReportDocument</name>
    <message>
        <source>%1 changed on disk after it was loaded; reload it, then try again.</source>
        <translation>%1 se po načtení na disku změnil; načtěte jej znovu a zkuste to znovu.</translation>
    </message>
    <message>
        <source>Page %1 is past the last page (%2).</source>
        <translation>Strana %1 je za poslední stranou (%2).</translation>
    </message>
    <message>
        <source>Page numbers start at 1: page %1 to %2 is no range.</source>
        <translation>Čísla stránek začínají od 1: stránka %1 až %2 není rozsah.</translation>
    </message>
    <message>
        <source>The range from page %1 to %2 runs backwards.</source>
        <translation>Rozsah od stránky %1 do %2 je obrácený.</translation>
    </message>
</context>
<context>
    <name>ReportExport</name>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Choose the workbook&apos;s name with the Export button first.</source>
        <translation>Nejprve zvolte název sešitu tlačítkem Export.</translation>
    </message>
    <message>
        <source>Finsh Record Click</source>
        <translation>Dokončit záznam</translation>
    </message>
    <message>
        <source>Excel Export</source>
        <translation>Export do Excelu</translation>
    </message>
    <message>
        <source> Export Complete </source>
        <translation> Export dokončen </translation>
    </message>
    <message>
        <source>%1: pictures show the sheets of the printed look; tick &quot;Printed&quot; in the colour settings and export again.</source>
        <translation>%1: obrázky zobrazují listy tiskového vzhledu; zaškrtněte „Tištěný“ v nastavení barev a exportujte znovu.</translation>
    </message>
    <message>
        <source>Writing %1 ...</source>
        <translation>Zapisuje se %1 ...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Zrušit</translation>
    </message>
</context>
<context>
    <name>RulesDialog</name>
    <message>
        <source>Rules - %1</source>
        <translation>Pravidla - %1</translation>
    </message>
    <message>
        <source>Rules &amp;File...</source>
        <translation>&amp;Soubor pravidel...</translation>
    </message>
    <message>
        <source>&amp;Read Again</source>
        <translation>&amp;Načíst znovu</translation>
    </message>
    <message>
        <source>Rules File</source>
        <translation>Soubor pravidel</translation>
    </message>
    <message>
        <source>Rules files (*.conf *.ini)|*.conf *.ini|All files (*)|*</source>
        <translation>Soubory pravidel (*.conf *.ini)|*.conf *.ini|Všechny soubory (*)|*</translation>
    </message>
    <message>
        <source>What %1 would do with %2 (nothing is done):</source>
        <translation>Co by %1 udělal s %2 (nic se neprovede):</translation>
    </message>
</context>
<context>
    <name>SheetView</name>
    <message>
        <source>Some pictures are not shown: this sheet holds more than the %1 MB of pictures a sheet may take.</source>
        <translation>Některé obrázky nejsou zobrazeny: tento list obsahuje víc než %1 MB obrázků, které list smí mít.</translation>
    </message>
    <message>
        <source>Some text is not shown: this sheet holds more than the %1 runs of text a sheet may take.</source>
        <translation>Část textu není zobrazena: tento list obsahuje víc než %1 úseků textu povolených na list.</translation>
    </message>
</context>
<context>
    <name>Sticker</name>
    <message>
        <source>No kind of barcode is chosen.</source>
        <translation>Není zvolen žádný druh čárového kódu.</translation>
    </message>
    <message>
        <source>An empty text cannot be drawn as a %1 barcode.</source>
        <translation>Prázdný text nelze vykreslit jako čárový kód %1.</translation>
    </message>
    <message>
        <source>A %1 barcode cannot be drawn: %2</source>
        <translation>Čárový kód %1 nelze vykreslit: %2</translation>
    </message>
    <message>
        <source>There is not enough memory to draw a barcode.</source>
        <translation>Na vykreslení čárového kódu není dost paměti.</translation>
    </message>
    <message>
        <source>The first range runs backwards, from %1 to %2: give the smaller number first.</source>
        <translation>První rozsah jde pozpátku, od %1 do %2: zadejte nejprve menší číslo.</translation>
    </message>
    <message>
        <source>No temporary print file can be created.</source>
        <translation>Nelze vytvořit dočasný tiskový soubor.</translation>
    </message>
    <message>
        <source>The print file %1 cannot be written.
%2</source>
        <translation>Tiskový soubor %1 nelze zapsat.
%2</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>soubor neexistuje</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>není to běžný soubor</translation>
    </message>
    <message>
        <source>The data file %1 cannot be used: %2.</source>
        <translation>Datový soubor %1 nelze použít: %2.</translation>
    </message>
    <message>
        <source>line %1 holds a NUL character</source>
        <translation>řádek %1 obsahuje znak NUL</translation>
    </message>
    <message>
        <source>the quoted field that starts on line %1 is not closed</source>
        <translation>pole v uvozovkách začínající na řádku %1 není uzavřeno</translation>
    </message>
    <message>
        <source>it has no line naming the columns</source>
        <translation>nemá řádek s názvy sloupců</translation>
    </message>
    <message>
        <source>There is no format slot %1.</source>
        <translation>Pozice formátu %1 neexistuje.</translation>
    </message>
    <message>
        <source>The format file %1 cannot be saved.
%2</source>
        <translation>Soubor formátů %1 nelze uložit.
%2</translation>
    </message>
    <message>
        <source>The PDF file %1 cannot be written: %2</source>
        <translation>Soubor PDF %1 nelze zapsat: %2</translation>
    </message>
    <message>
        <source>the PDF could not be started.</source>
        <translation>soubor PDF nebylo možné založit.</translation>
    </message>
    <message>
        <source>The stickers could not be printed.
%1</source>
        <translation>Štítky nebylo možné vytisknout.
%1</translation>
    </message>
    <message>
        <source>The stickers could not be drawn.
%1</source>
        <translation>Štítky nebylo možné vykreslit.
%1</translation>
    </message>
    <message>
        <source>The stickers take more than %1 pages, more than a PDF may have.</source>
        <translation>Štítky zaberou víc než %1 stran, víc, než smí mít PDF.</translation>
    </message>
    <message>
        <source>The sheet would take up to %1, more than the %2 free for the print file in %3. Check &quot;Page&quot;, &quot;Row&quot;, &quot;Col&quot; and &quot;Max Field Lenth&quot;.</source>
        <translation>Arch by zabral až %1, víc než %2 volných pro tiskový soubor v %3. Zkontrolujte &quot;List&quot;, &quot;Řádky&quot;, &quot;Sloupce&quot; a &quot;Max. délka pole&quot;.</translation>
    </message>
    <message>
        <source>A Code 39 barcode holds capital letters only; &quot;%1&quot; has small ones (Code 128 holds them).</source>
        <translation>Čárový kód Code 39 zná jen velká písmena; &quot;%1&quot; má malá (Code 128 je zná).</translation>
    </message>
    <message>
        <source>A sheet of %1 columns and %2 rows of stickers holds none: &quot;Col&quot; and &quot;Row&quot; must be 1 or more.</source>
        <translation>Arch s %1 sloupci a %2 řádky štítků nemá žádný štítek: &quot;Sloupce&quot; a &quot;Řádky&quot; musí být 1 nebo více.</translation>
    </message>
    <message>
        <source>The stickers have no lines: &quot;Max Field&quot; must be 1 or more.</source>
        <translation>Štítky nemají žádné řádky: &quot;Max. počet polí&quot; musí být 1 nebo více.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 columns of stickers fall on the A4 sheet (%3 twips wide); the others would not print. Use fewer columns, or less &quot;Sticker Left Space&quot;.</source>
        <translation>Jen %1 z %2 sloupců štítků leží na listu A4 (široký %3 twipů); ostatní by se nevytiskly. Použijte méně sloupců nebo menší &quot;Levá mezera štítku&quot;.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 rows of stickers on a printed sheet fall on the A4 sheet (%3 twips high); the others would not print. Lower &quot;Row Printing&quot;, or the &quot;Margin Between Two Sticker&quot;.</source>
        <translation>Jen %1 z %2 řádků štítků tištěného listu leží na listu A4 (vysoký %3 twipů); ostatní by se nevytiskly. Snižte &quot;Tisk řádků&quot; nebo &quot;Okraj mezi dvěma štítky&quot;.</translation>
    </message>
</context>
<context>
    <name>StickerMorePanel</name>
    <message>
        <source>More</source>
        <translation>Další</translation>
    </message>
    <message>
        <source>Running numbers padded with zeros to this many digits (0: as they are).</source>
        <translation>Pořadová čísla doplněná nulami na tento počet číslic (0: beze změny).</translation>
    </message>
    <message>
        <source>Windows mode: the first free sticker of a part-used sheet, counted across the rows from 1.</source>
        <translation>Tisk přes Windows: první volný štítek částečně použitého archu, počítáno po řádcích od 1.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Žádný</translation>
    </message>
    <message>
        <source>Windows mode: the line with the running number drawn as this barcode, sized to the sticker.</source>
        <translation>Tisk přes Windows: řádek s pořadovým číslem vykreslený tímto čárovým kódem, velikostí podle štítku.</translation>
    </message>
    <message>
        <source>Character mode: the printer&apos;s code page, the bytes the sheet&apos;s letters are written as.</source>
        <translation>Znakový režim: kódová stránka tiskárny, tedy bajty, jimiž se zapíší písmena archu.</translation>
    </message>
    <message>
        <source>A CSV file whose first row names the columns: each row makes one sticker, and {Column} in a line takes the row&apos;s value. Empty: every sticker alike.</source>
        <translation>Soubor CSV, jehož první řádek pojmenovává sloupce: každý řádek dá jeden štítek a {Sloupec} v řádku převezme hodnotu z řádku. Prázdné: všechny štítky stejné.</translation>
    </message>
    <message>
        <source>Choose the CSV file.</source>
        <translation>Zvolte soubor CSV.</translation>
    </message>
    <message>
        <source>From the header</source>
        <translation>Podle záhlaví</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Čárka</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Středník</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulátor</translation>
    </message>
    <message>
        <source>What separates the data file&apos;s fields.</source>
        <translation>Čím se oddělují pole datového souboru.</translation>
    </message>
    <message>
        <source>From the file</source>
        <translation>Podle souboru</translation>
    </message>
    <message>
        <source>The data file&apos;s encoding. From the file: UTF-8, else Windows-1252; a byte-order mark always decides.</source>
        <translation>Kódování datového souboru. Podle souboru: UTF-8, jinak Windows-1252; značka pořadí bajtů rozhoduje vždy.</translation>
    </message>
    <message>
        <source>Digits</source>
        <translation>Číslice</translation>
    </message>
    <message>
        <source>Start at sticker</source>
        <translation>Začít štítkem</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Čárový kód</translation>
    </message>
    <message>
        <source>Code page</source>
        <translation>Kódová stránka</translation>
    </message>
    <message>
        <source>Data file</source>
        <translation>Datový soubor</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Oddělovač</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kódování</translation>
    </message>
    <message>
        <source>Sticker Data</source>
        <translation>Data štítků</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)|*.csv|All Files (*.*)|*.*</source>
        <translation>Soubory CSV (*.csv)|*.csv|Všechny soubory (*.*)|*.*</translation>
    </message>
    <message>
        <source>Choose the data file</source>
        <translation>Vybrat datový soubor</translation>
    </message>
    <message>
        <source>&quot;Digits&quot; must be a number from 0 to %1.</source>
        <translation>&quot;Číslice&quot; musí být číslo od 0 do %1.</translation>
    </message>
</context>
<context>
    <name>StickerPreview</name>
    <message>
        <source>Zoom out (Ctrl+wheel)</source>
        <translation>Oddálit (Ctrl+kolečko)</translation>
    </message>
    <message>
        <source>Zoom in (Ctrl+wheel)</source>
        <translation>Přiblížit (Ctrl+kolečko)</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Přizpůsobit</translation>
    </message>
    <message>
        <source>Fit to window</source>
        <translation>Přizpůsobit oknu</translation>
    </message>
</context>
<context>
    <name>WindowSheetPrinting</name>
    <message>
        <source>Information Window</source>
        <translation>Informace</translation>
    </message>
    <message>
        <source>Printing Error</source>
        <translation>Chyba tisku</translation>
    </message>
    <message>
        <source>Stickers</source>
        <translation>Štítky</translation>
    </message>
</context>
</TS>
