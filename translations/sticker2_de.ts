<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CodePage</name>
    <message>
        <source>Latin-1 (as is)</source>
        <translation>Latin-1 (unverändert)</translation>
    </message>
    <message>
        <source>Windows-1252</source>
        <translation>Windows-1252</translation>
    </message>
    <message>
        <source>PC437 (US, box drawing)</source>
        <translation>PC437 (USA, Rahmenzeichen)</translation>
    </message>
    <message>
        <source>PC850 (Western Europe)</source>
        <translation>PC850 (Westeuropa)</translation>
    </message>
    <message>
        <source>PC852 (Central Europe)</source>
        <translation>PC852 (Mitteleuropa)</translation>
    </message>
    <message>
        <source>Kamenicky (Czech and Slovak)</source>
        <translation>Kamenický (Tschechisch und Slowakisch)</translation>
    </message>
    <message>
        <source>PC866 (Cyrillic)</source>
        <translation>PC866 (Kyrillisch)</translation>
    </message>
</context>
<context>
    <name>CodePageBar</name>
    <message>
        <source>Read the file in the code page offered</source>
        <translation>Die Datei in der angebotenen Codepage lesen</translation>
    </message>
    <message>
        <source>Keep the code page</source>
        <translation>Codepage beibehalten</translation>
    </message>
    <message>
        <source>This file looks written in %1.</source>
        <translation>Diese Datei scheint in %1 geschrieben zu sein.</translation>
    </message>
    <message>
        <source>Read it in %1</source>
        <translation>In %1 lesen</translation>
    </message>
</context>
<context>
    <name>DesktopPrinting</name>
    <message>
        <source>The preview shows at most %1 pages, and this print has %2. Choose fewer pages to see them, or print them.</source>
        <translation>Die Vorschau zeigt höchstens %1 Seiten, dieser Druck hat %2. Wählen Sie weniger Seiten, um sie anzusehen, oder drucken Sie sie.</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>%1: the pages were not read</source>
        <translation>%1: Die Seiten wurden nicht gelesen</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1: pictures show the sheets of the printed look</source>
        <translation>%1: Bilder zeigen die Blätter der Druckansicht</translation>
    </message>
    <message>
        <source>%1: %2 pages to draw, more than the %3 that a PDF or pictures may hold; choose fewer pages</source>
        <translation>%1: %2 Seiten zu zeichnen, mehr als die %3, die ein PDF oder Bilder fassen können; wählen Sie weniger Seiten</translation>
    </message>
    <message>
        <source>Cannot write %1: it is the input %2.</source>
        <translation>%1 kann nicht geschrieben werden: Es ist die Eingabedatei %2.</translation>
    </message>
</context>
<context>
    <name>ExportFormat</name>
    <message>
        <source> Rich Text Format (*.rtf)</source>
        <translation> Rich-Text-Format (*.rtf)</translation>
    </message>
    <message>
        <source> Text  (*.txt) </source>
        <translation> Text  (*.txt) </translation>
    </message>
    <message>
        <source> Excel WorkBook (*.xls)</source>
        <translation> Excel-Arbeitsmappe (*.xls)</translation>
    </message>
    <message>
        <source> Web Page (*.HTML)</source>
        <translation> Webseite (*.HTML)</translation>
    </message>
    <message>
        <source> PDF Document (*.pdf)</source>
        <translation> PDF-Dokument (*.pdf)</translation>
    </message>
</context>
<context>
    <name>FileChangeBar</name>
    <message>
        <source>The file changed on disk; the view shows it as it was loaded.</source>
        <translation>Die Datei wurde auf dem Datenträger geändert; die Ansicht zeigt sie, wie sie geladen wurde.</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>The file was written again on disk; reload it to read it whole.</source>
        <translation>Die Datei wurde auf dem Datenträger neu geschrieben; laden Sie sie neu, um sie ganz zu lesen.</translation>
    </message>
</context>
<context>
    <name>ForeignJobBar</name>
    <message>
        <source>Close this note</source>
        <translation>Diesen Hinweis schließen</translation>
    </message>
    <message>
        <source>This file is a job in another printer language (%1), not an ESC/P print file: it is shown as ESC/P all the same.</source>
        <translation>Diese Datei ist ein Druckauftrag in einer anderen Druckersprache (%1), keine ESC/P-Druckdatei: Sie wird trotzdem als ESC/P angezeigt.</translation>
    </message>
</context>
<context>
    <name>FormChoiceDialog</name>
    <message>
        <source>Forms under the printed sheets</source>
        <translation>Formulare unter den gedruckten Blättern</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;First sheet:</source>
        <translation>&amp;Erstes Blatt:</translation>
    </message>
    <message>
        <source>&amp;Later sheets:</source>
        <translation>&amp;Spätere Blätter:</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>&amp;Offset right, down:</source>
        <translation>&amp;Versatz nach rechts, unten:</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Choose a form</source>
        <translation>Formular wählen</translation>
    </message>
    <message>
        <source>Forms|*.pdf *.png *.jpg *.jpeg|All files|*</source>
        <translation>Formulare|*.pdf *.png *.jpg *.jpeg|Alle Dateien|*</translation>
    </message>
</context>
<context>
    <name>Frm0010Sticker</name>
    <message>
        <source>Velmora Software - Utility</source>
        <translation>Velmora Software - Dienstprogramm</translation>
    </message>
    <message>
        <source>Sticker Printing</source>
        <translation>Etikettendruck</translation>
    </message>
    <message>
        <source>Double-click to show the Setting button, or right-click for the settings.</source>
        <translation>Doppelklicken, um die Schaltfläche Einstellung anzuzeigen, oder Rechtsklick für die Einstellungen.</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Watch a Folder for Print Jobs...</source>
        <translation>Ordner auf Druckaufträge überwachen...</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>Open a print file in a report view (Ctrl+O); the arrow lists the recent files</source>
        <translation>Eine Druckdatei in einer Berichtsansicht öffnen (Strg+O); der Pfeil listet die zuletzt geöffneten Dateien</translation>
    </message>
    <message>
        <source>Open Print File</source>
        <translation>Druckdatei öffnen</translation>
    </message>
    <message>
        <source>No of Sticker</source>
        <translation>Etiketten</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Setting </source>
        <translation>Einstellung </translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Einstellung</translation>
    </message>
    <message>
        <source>SHO&amp;W</source>
        <translation>&amp;ZEIGEN</translation>
    </message>
    <message>
        <source>Display Page Wise  Print View </source>
        <translation>Druckansicht seitenweise anzeigen </translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Sichern</translation>
    </message>
    <message>
        <source>    E &amp;X I T</source>
        <translation>    E N &amp;D E</translation>
    </message>
    <message>
        <source>Return to Main Menu</source>
        <translation>Zurück zum Hauptmenü</translation>
    </message>
    <message>
        <source>SPace Between Col</source>
        <translation>Abstand zwischen Spalten</translation>
    </message>
    <message>
        <source>Col</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>Margin Between Two Sticker</source>
        <translation>Abstand zw. Etiketten</translation>
    </message>
    <message>
        <source>Max Field Lenth</source>
        <translation>Max. Feldlänge</translation>
    </message>
    <message>
        <source>Max Field</source>
        <translation>Max. Felder</translation>
    </message>
    <message>
        <source>Row Printing</source>
        <translation>Zeilendruck</translation>
    </message>
    <message>
        <source>Loop Position</source>
        <translation>Schleifenposition</translation>
    </message>
    <message>
        <source>Normal    ( 80 Col )</source>
        <translation>Normal    ( 80 Spalten )</translation>
    </message>
    <message>
        <source>Cond.     (136 Col )</source>
        <translation>Schmal    (136 Spalten )</translation>
    </message>
    <message>
        <source>Window base Setting</source>
        <translation>Einstellungen für Windows-Druck</translation>
    </message>
    <message>
        <source>Font Name</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>Font Size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Margin Top</source>
        <translation>Rand oben</translation>
    </message>
    <message>
        <source>Margin Left</source>
        <translation>Rand links</translation>
    </message>
    <message>
        <source>Sticker Left Space</source>
        <translation>Abstand links im Etikett</translation>
    </message>
    <message>
        <source>Space Between Two value</source>
        <translation>Abstand zw. Werten</translation>
    </message>
    <message>
        <source>Line %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>Line 4 range, first number</source>
        <translation>Bereich der Zeile 4, erste Zahl</translation>
    </message>
    <message>
        <source>Line 4 range, last number</source>
        <translation>Bereich der Zeile 4, letzte Zahl</translation>
    </message>
    <message>
        <source>Line 5 range, first number</source>
        <translation>Bereich der Zeile 5, erste Zahl</translation>
    </message>
    <message>
        <source>Line 5 range, last number</source>
        <translation>Bereich der Zeile 5, letzte Zahl</translation>
    </message>
    <message>
        <source>Loop line</source>
        <translation>Schleifenzeile</translation>
    </message>
    <message>
        <source>Line 4 range counts on</source>
        <translation>Bereich der Zeile 4 zählt weiter</translation>
    </message>
    <message>
        <source>Line 5 range counts on</source>
        <translation>Bereich der Zeile 5 zählt weiter</translation>
    </message>
    <message>
        <source>Window mode</source>
        <translation>Windows-Druck</translation>
    </message>
    <message>
        <source>Sticker sheet preview</source>
        <translation>Vorschau des Etikettenbogens</translation>
    </message>
    <message>
        <source>Writing the sticker sheet ...</source>
        <translation>Der Etikettenbogen wird geschrieben ...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FrmReport</name>
    <message>
        <source>No file name was given.</source>
        <translation>Es wurde kein Dateiname angegeben.</translation>
    </message>
    <message>
        <source>The print file &quot;%1&quot; cannot be read.
%2</source>
        <translation>Die Druckdatei „%1“ kann nicht gelesen werden.
%2</translation>
    </message>
    <message>
        <source>Report View</source>
        <translation>Berichtsansicht</translation>
    </message>
    <message>
        <source>Reading %1 as printed ...</source>
        <translation>%1 wird wie gedruckt gelesen ...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Rechner</translation>
    </message>
    <message>
        <source>Search String</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>Go to page</source>
        <translation>Gehe zu Seite</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Page, editable</source>
        <translation>Seite, bearbeitbar</translation>
    </message>
    <message>
        <source>Printed sheet</source>
        <translation>Gedrucktes Blatt</translation>
    </message>
    <message>
        <source>%1 colour</source>
        <translation>Farbe für %1</translation>
    </message>
    <message>
        <source>Search matches bold</source>
        <translation>Suchtreffer fett</translation>
    </message>
    <message>
        <source>Highlighted text bold</source>
        <translation>Hervorgehobenen Text fett</translation>
    </message>
    <message>
        <source>Close the colour settings</source>
        <translation>Farbeinstellungen schließen</translation>
    </message>
    <message>
        <source>Form length</source>
        <translation>Formularlänge</translation>
    </message>
    <message>
        <source>Carriage</source>
        <translation>Wagen</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Erste Seite</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Exemplare</translation>
    </message>
    <message>
        <source>More or fewer copies</source>
        <translation>Mehr oder weniger Exemplare</translation>
    </message>
    <message>
        <source>Paper height</source>
        <translation>Papierhöhe</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Actual Size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>An Breite anpassen</translation>
    </message>
    <message>
        <source>Fit Page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Printed</source>
        <translation>Wie gedruckt</translation>
    </message>
    <message>
        <source>The page is too large to edit here (%1 MB; at most %2 MB).</source>
        <translation>Die Seite ist zu groß, um sie hier zu bearbeiten (%1 MB; höchstens %2 MB).</translation>
    </message>
    <message>
        <source>Reading the pages of %1 ...</source>
        <translation>Die Seiten von %1 werden gelesen ...</translation>
    </message>
    <message>
        <source>Report View </source>
        <translation>Berichtsansicht </translation>
    </message>
    <message>
        <source>Color Setting</source>
        <translation>Farbeinstellung</translation>
    </message>
    <message>
        <source>Vsual</source>
        <translation>Visuell</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source> Pre-View </source>
        <translation> Vorschau </translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation>&amp;Erste</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>&amp;Letzte</translation>
    </message>
    <message>
        <source>GOTO</source>
        <translation>GEHE ZU</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Exel Export</source>
        <translation>Excel-Export</translation>
    </message>
    <message>
        <source>Cont.. </source>
        <translation>Fortl.. </translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Open Print Dilog Box</source>
        <translation>Druckdialog öffnen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>[ TXT File Only ]Select A File From Which To Retrive Data</source>
        <translation>[ Nur TXT-Dateien ]Datei wählen, aus der die Daten gelesen werden</translation>
    </message>
    <message>
        <source>Page %1/%2</source>
        <translation>Seite %1/%2</translation>
    </message>
    <message>
        <source> Select Valid PageNo...!</source>
        <translation> Bitte eine gültige Seitenzahl wählen...!</translation>
    </message>
    <message>
        <source> Report View   [ Sheet : %1/%2 ]   %3</source>
        <translation> Berichtsansicht   [ Blatt : %1/%2 ]   %3</translation>
    </message>
    <message>
        <source> Report View   [ Col : %1 Line : %2 ]   %3   %4</source>
        <translation> Berichtsansicht   [ Sp : %1 Zeile : %2 ]   %3   %4</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Highlight Text</source>
        <translation>Text hervorheben</translation>
    </message>
    <message>
        <source>Rules...</source>
        <translation>Regeln...</translation>
    </message>
    <message>
        <source>Printer model</source>
        <translation>Druckermodell</translation>
    </message>
    <message>
        <source>Reading the lines of %1 ...</source>
        <translation>Die Zeilen von %1 werden gelesen ...</translation>
    </message>
</context>
<context>
    <name>FrmWatch</name>
    <message>
        <source>Stop Watching</source>
        <translation>Überwachung beenden</translation>
    </message>
    <message>
        <source>Watching for print jobs</source>
        <translation>Druckaufträge werden überwacht</translation>
    </message>
    <message>
        <source>Watching %1</source>
        <translation>Überwacht wird %1</translation>
    </message>
    <message>
        <source>Watch a folder for print jobs</source>
        <translation>Ordner auf Druckaufträge überwachen</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>Überwachen</translation>
    </message>
    <message>
        <source>No print file waits for a report view.</source>
        <translation>Keine Druckdatei wartet auf eine Berichtsansicht.</translation>
    </message>
    <message>
        <source>1 print file waits for a report view to close.</source>
        <translation>1 Druckdatei wartet darauf, dass eine Berichtsansicht geschlossen wird.</translation>
    </message>
    <message>
        <source>%1 print files wait for a report view to close.</source>
        <translation>%1 Druckdateien warten darauf, dass eine Berichtsansicht geschlossen wird.</translation>
    </message>
    <message>
        <source>%1: %2 was not opened, as its name is not UTF-8. Rename it (convmv -f latin1 -t utf-8) and it opens.</source>
        <translation>%1: Die Datei %2 wurde nicht geöffnet, da ihr Name nicht UTF-8 ist. Benennen Sie sie um (convmv -f latin1 -t utf-8), dann wird sie geöffnet.</translation>
    </message>
</context>
<context>
    <name>OpenReportView</name>
    <message>
        <source> Max Six Report View Open ...<byte value="xd"/>
<byte value="xd"/>
 Please Close Report View and Try Again ..</source>
        <translation> Höchstens sechs Berichtsansichten offen ...<byte value="xd"/>
<byte value="xd"/>
 Bitte schließen Sie eine Berichtsansicht und versuchen Sie es erneut ..</translation>
    </message>
</context>
<context>
    <name>PageCutBar</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop opening the file</source>
        <translation>Das Öffnen der Datei abbrechen</translation>
    </message>
    <message>
        <source>Reading the pages: %1 so far ...</source>
        <translation>Seiten werden gelesen: bisher %1 ...</translation>
    </message>
</context>
<context>
    <name>PageSearch</name>
    <message>
        <source>Matches</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>The search stopped at %1 matches of &quot;%2&quot;: those are marked.</source>
        <translation>Die Suche hat nach %1 Treffern für „%2“ angehalten: diese sind markiert.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>no match</source>
        <translation>kein Treffer</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>PageView</name>
    <message>
        <source>The selection holds %L1 characters, more than the %L2 the clipboard takes. Nothing was copied: export the pages as text instead.</source>
        <translation>Die Auswahl enthält %L1 Zeichen, mehr als die %L2, die die Zwischenablage aufnimmt. Es wurde nichts kopiert: Exportieren Sie die Seiten stattdessen als Text.</translation>
    </message>
    <message>
        <source>Information Window</source>
        <translation>Information</translation>
    </message>
</context>
<context>
    <name>PrintFileActions</name>
    <message>
        <source> Txt File(*.txt)</source>
        <translation> Textdatei(*.txt)</translation>
    </message>
    <message>
        <source>Print files (*.prn *.PRN *.esc)</source>
        <translation>Druckdateien (*.prn *.PRN *.esc)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open Print File</source>
        <translation>Druckdatei öffnen</translation>
    </message>
    <message>
        <source>Open Print File...</source>
        <translation>Druckdatei öffnen...</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>(none yet)</source>
        <translation>(noch keine)</translation>
    </message>
</context>
<context>
    <name>PrintFileWatcher</name>
    <message>
        <source>no such folder</source>
        <translation>kein solcher Ordner</translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>kein Ordner</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Cannot watch %1: %2</source>
        <translation>%1 kann nicht überwacht werden: %2</translation>
    </message>
</context>
<context>
    <name>PrintPanel</name>
    <message>
        <source>Select &amp;Printer</source>
        <translation>&amp;Drucker wählen</translation>
    </message>
    <message>
        <source>Defult Printer :  </source>
        <translation>Standarddrucker :  </translation>
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
        <translation>Option</translation>
    </message>
    <message>
        <source>Advance Cond. ( 20 Cpi )</source>
        <translation>Extra schmal ( 20 Cpi )</translation>
    </message>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>10 Cpi , 80 Col.</source>
        <translation>10 Cpi , 80 Sp.</translation>
    </message>
    <message>
        <source>Cond.  ( 17 Cpi, 136 Col )</source>
        <translation>Schmal  ( 17 Cpi, 136 Sp )</translation>
    </message>
    <message>
        <source>Semi Cond. ( 12 Cpi, 96 Col  )</source>
        <translation>Halbschmal ( 12 Cpi, 96 Sp  )</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Alle Seiten</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Aktuelle Seite</translation>
    </message>
    <message>
        <source>Page Range</source>
        <translation>Seitenbereich</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source> C&amp;lose</source>
        <translation> Sch&amp;ließen</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>No of Copies :</source>
        <translation>Anzahl Kopien :</translation>
    </message>
    <message>
        <source>Paper Height :</source>
        <translation>Papierhöhe :</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>Select any of the Printer from  Printers Collection</source>
        <translation>Wählen Sie einen Drucker aus der  Druckerliste</translation>
    </message>
    <message>
        <source>plese Check Velue...</source>
        <translation>Bitte Wert prüfen...</translation>
    </message>
    <message>
        <source>Defult Printer :%1</source>
        <translation>Standarddrucker :%1</translation>
    </message>
    <message>
        <source> %1  : Maximum </source>
        <translation> %1  : Höchstwert </translation>
    </message>
    <message>
        <source>Are You Sure You Want To Print &amp; Printer is Ready and Online ...</source>
        <translation>Wirklich drucken &amp; ist der Drucker bereit und online ...</translation>
    </message>
    <message>
        <source>The page file %1 cannot be written.
%2</source>
        <translation>Die Seitendatei %1 kann nicht geschrieben werden.
%2</translation>
    </message>
    <message>
        <source>Nothing was printed: the number of copies is %1.</source>
        <translation>Es wurde nichts gedruckt: Die Anzahl der Kopien ist %1.</translation>
    </message>
</context>
<context>
    <name>PrintedLookBar</name>
    <message>
        <source>Show it as printed</source>
        <translation>Wie gedruckt anzeigen</translation>
    </message>
    <message>
        <source>Show the file as printed</source>
        <translation>Die Datei wie gedruckt anzeigen</translation>
    </message>
    <message>
        <source>Keep the emphasis look</source>
        <translation>Hervorhebungsansicht beibehalten</translation>
    </message>
    <message>
        <source>pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>text set at positions</source>
        <translation>an Positionen gesetzten Text</translation>
    </message>
    <message>
        <source>files without a suffix</source>
        <translation>Dateien ohne Endung</translation>
    </message>
    <message>
        <source>.%1 files</source>
        <translation>.%1-Dateien</translation>
    </message>
    <message>
        <source>This file holds %1 that only the printed look shows (your answer is kept for %2).</source>
        <translation>Diese Datei enthält %1, die nur die Druckansicht zeigt (Ihre Antwort gilt für %2).</translation>
    </message>
</context>
<context>
    <name>PrinterModels</name>
    <message>
        <source>Printer: as the file tells</source>
        <translation>Drucker: wie die Datei angibt</translation>
    </message>
    <message>
        <source>9-pin printer (ESC/P)</source>
        <translation>9-Nadel-Drucker (ESC/P)</translation>
    </message>
    <message>
        <source>24-pin printer (ESC/P)</source>
        <translation>24-Nadel-Drucker (ESC/P)</translation>
    </message>
    <message>
        <source>ESC/P2 printer</source>
        <translation>ESC/P2-Drucker</translation>
    </message>
</context>
<context>
    <name>PrinterStickerSurface</name>
    <message>
        <source>Stickers</source>
        <translation>Etiketten</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; did not accept the print job.</source>
        <translation>Der Drucker „%1“ hat den Druckauftrag nicht angenommen.</translation>
    </message>
    <message>
        <source>The print job could not be completed.</source>
        <translation>Der Druckauftrag konnte nicht abgeschlossen werden.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be written.</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>Printer Error Information</source>
        <translation>Druckerfehler</translation>
    </message>
    <message>
        <source>The Printer Name (%1) wasn&apos;t recognized.</source>
        <translation>Der Druckername (%1) wurde nicht erkannt.</translation>
    </message>
    <message>
        <source>The printer %1 cannot start the job.</source>
        <translation>Der Drucker %1 kann den Auftrag nicht beginnen.</translation>
    </message>
    <message>
        <source>The sheet from byte %1 of the file holds more pictures than the %2 MB a sheet may take.</source>
        <translation>Das Blatt ab Byte %1 der Datei enthält mehr Bilder als die %2 MB, die ein Blatt haben darf.</translation>
    </message>
    <message>
        <source>The printer %1 refused a new page.</source>
        <translation>Der Drucker %1 hat eine neue Seite abgelehnt.</translation>
    </message>
    <message>
        <source>The printer %1 could not finish the job.</source>
        <translation>Der Drucker %1 konnte den Auftrag nicht abschließen.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
Error number: %2<byte value="xd"/>
Error context: %3<byte value="xd"/>
Description:  %4</source>
        <translation>%1<byte value="xd"/>
Fehlernummer: %2<byte value="xd"/>
Fehlerkontext: %3<byte value="xd"/>
Beschreibung:  %4</translation>
    </message>
    <message>
        <source>Error Window</source>
        <translation>Fehlerfenster</translation>
    </message>
    <message>
        <source>Asking the print server for the printer...</source>
        <translation>Der Druckserver wird nach dem Drucker gefragt...</translation>
    </message>
    <message>
        <source>No Printers Installed to do the Print job</source>
        <translation>Keine Drucker für den Druckauftrag installiert</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; is not installed.</source>
        <translation>Der Drucker „%1“ ist nicht installiert.</translation>
    </message>
    <message>
        <source>Information Window</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Printing.... </source>
        <translation>Drucken.... </translation>
    </message>
    <message>
        <source>Procedure Name : PrintFile</source>
        <translation>Prozedurname : PrintFile</translation>
    </message>
    <message>
        <source>Sending %1 to the printer...</source>
        <translation>%1 wird an den Drucker gesendet...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The printer took nothing for %1 seconds.</source>
        <translation>Der Drucker hat %1 Sekunden lang nichts angenommen.</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Drucker</translation>
    </message>
    <message>
        <source>The print server %1 does not answer.</source>
        <translation>Der Druckserver %1 antwortet nicht.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>Cannot connect to the print server %1.</source>
        <translation>Keine Verbindung zum Druckserver %1.</translation>
    </message>
    <message>
        <source>The print server %1 did not answer within %2 seconds.</source>
        <translation>Der Druckserver %1 hat nicht innerhalb von %2 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>The paper height (%1) must be a number of inches from 0 to 255.</source>
        <translation>Die Papierhöhe (%1) muss eine Zahl von Zoll zwischen 0 und 255 sein.</translation>
    </message>
    <message>
        <source>File %1 does not exists</source>
        <translation>Die Datei %1 existiert nicht</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Printing %1 was cancelled; nothing of it prints.</source>
        <translation>Der Druck von %1 wurde abgebrochen; nichts davon wird gedruckt.</translation>
    </message>
    <message>
        <source>%1 Nothing was printed.</source>
        <translation>%1 Es wurde nichts gedruckt.</translation>
    </message>
    <message>
        <source>%1: %2; nothing of it prints.</source>
        <translation>%1: %2; nichts davon wird gedruckt.</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>The sheet from byte %1 of the file holds more than the %2 runs of text a sheet may take.</source>
        <translation>Das Blatt ab Byte %1 der Datei enthält mehr als die %2 Textstücke, die ein Blatt haben darf.</translation>
    </message>
    <message>
        <source>The printer %1 did not take the job: %2</source>
        <translation>Der Drucker %1 hat den Auftrag nicht angenommen: %2</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The system has no converter for %1 (%2): %3</source>
        <translation>Das System hat keinen Konverter für %1 (%2): %3</translation>
    </message>
    <message>
        <source>the export was stopped.</source>
        <translation>der Export wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Cannot read the print file %1: %2</source>
        <translation>Die Druckdatei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot read the print file %1: it %2.</source>
        <translation>Die Druckdatei %1 kann nicht gelesen werden: sie %2.</translation>
    </message>
    <message>
        <source>Page %1 is not in the report, which has %2 pages.</source>
        <translation>Seite %1 ist nicht im Bericht, der %2 Seiten hat.</translation>
    </message>
    <message>
        <source>No page is chosen.</source>
        <translation>Es ist keine Seite gewählt.</translation>
    </message>
    <message>
        <source>The output is not open for writing.</source>
        <translation>Die Ausgabe ist nicht zum Schreiben geöffnet.</translation>
    </message>
    <message>
        <source>The PDF writer cannot start.</source>
        <translation>Der PDF-Writer kann nicht starten.</translation>
    </message>
    <message>
        <source>The PDF writer refused a new page.</source>
        <translation>Der PDF-Writer hat eine neue Seite abgelehnt.</translation>
    </message>
    <message>
        <source>The PDF was cancelled.</source>
        <translation>Das PDF wurde abgebrochen.</translation>
    </message>
    <message>
        <source>the picture is too large for the memory</source>
        <translation>das Bild ist zu groß für den Speicher</translation>
    </message>
    <message>
        <source>The resolution must be %1 to %2 dots per inch.</source>
        <translation>Die Auflösung muss %1 bis %2 Punkte pro Zoll betragen.</translation>
    </message>
    <message>
        <source>The pictures were cancelled.</source>
        <translation>Die Bilder wurden abgebrochen.</translation>
    </message>
    <message>
        <source>The PNG writer cannot start.</source>
        <translation>Der PNG-Writer kann nicht starten.</translation>
    </message>
    <message>
        <source>The export was cancelled.</source>
        <translation>Der Export wurde abgebrochen.</translation>
    </message>
    <message>
        <source>the workbook cannot be read back.</source>
        <translation>die Arbeitsmappe kann nicht zurückgelesen werden.</translation>
    </message>
    <message>
        <source>its part %1 was not written in full.</source>
        <translation>ihr Teil %1 wurde nicht vollständig geschrieben.</translation>
    </message>
    <message>
        <source>Cannot write %1: the workbook could not be started.</source>
        <translation>%1 kann nicht geschrieben werden: die Arbeitsmappe konnte nicht begonnen werden.</translation>
    </message>
    <message>
        <source>Cannot write %1: the print file has more than %2 lines, more than a worksheet holds.</source>
        <translation>%1 kann nicht geschrieben werden: die Druckdatei hat mehr als %2 Zeilen, mehr als ein Arbeitsblatt fasst.</translation>
    </message>
    <message>
        <source>The workbook %1 was not written: the export was stopped.</source>
        <translation>Die Arbeitsmappe %1 wurde nicht geschrieben: der Export wurde abgebrochen.</translation>
    </message>
    <message>
        <source>the form offset &quot;%1&quot; is not X,Y in millimetres, each -%2 to %2</source>
        <translation>der Formularversatz „%1“ ist nicht X,Y in Millimetern, jeweils -%2 bis %2</translation>
    </message>
    <message>
        <source>the form does not exist</source>
        <translation>das Formular existiert nicht</translation>
    </message>
    <message>
        <source>the form is not a regular file</source>
        <translation>das Formular ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>the form cannot be read: %1</source>
        <translation>das Formular kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>the form is not a PDF, PNG or JPEG file</source>
        <translation>das Formular ist keine PDF-, PNG- oder JPEG-Datei</translation>
    </message>
    <message>
        <source>an image form has no pages to choose from</source>
        <translation>ein Bildformular hat keine Seiten zur Auswahl</translation>
    </message>
    <message>
        <source>the form cannot be read as a PDF</source>
        <translation>das Formular kann nicht als PDF gelesen werden</translation>
    </message>
    <message>
        <source>the form is locked by a password</source>
        <translation>das Formular ist durch ein Kennwort gesperrt</translation>
    </message>
    <message>
        <source>the form has no page</source>
        <translation>das Formular hat keine Seite</translation>
    </message>
    <message>
        <source>the form has no page %1 (it has %2)</source>
        <translation>das Formular hat keine Seite %1 (es hat %2)</translation>
    </message>
    <message>
        <source>the form&apos;s page %1 cannot be read</source>
        <translation>die Seite %1 des Formulars kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the form cannot be read as an image: %1</source>
        <translation>das Formular kann nicht als Bild gelesen werden: %1</translation>
    </message>
    <message>
        <source>the form&apos;s page has no size</source>
        <translation>die Seite des Formulars hat keine Größe</translation>
    </message>
    <message>
        <source>the form has no page %1</source>
        <translation>das Formular hat keine Seite %1</translation>
    </message>
    <message>
        <source>Cannot make a temporary file in %1: %2</source>
        <translation>In %1 kann keine temporäre Datei angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the temporary file %1: %2</source>
        <translation>Die temporäre Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>No desktop calculator is installed.
Install one of: %1.</source>
        <translation>Es ist kein Taschenrechner-Programm installiert.
Installieren Sie eines von: %1.</translation>
    </message>
    <message>
        <source>The calculator &quot;%1&quot; could not be started.</source>
        <translation>Der Rechner „%1“ konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>it is a device or a pipe, not a regular file.</source>
        <translation>es ist ein Gerät oder eine Pipe, keine reguläre Datei.</translation>
    </message>
    <message>
        <source>changed while it was being read</source>
        <translation>wurde während des Lesens geändert</translation>
    </message>
    <message>
        <source>It is empty or not a regular file.</source>
        <translation>Sie ist leer oder keine reguläre Datei.</translation>
    </message>
    <message>
        <source>Too many files are open.</source>
        <translation>Es sind zu viele Dateien geöffnet.</translation>
    </message>
    <message>
        <source>refusing to follow a link another user planted in a shared folder.</source>
        <translation>einem Link, den ein anderer Benutzer in einem gemeinsamen Ordner angelegt hat, wird nicht gefolgt.</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be saved.</source>
        <translation>Die Einstellungsdatei %1 kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Sie ist keine reguläre Datei.</translation>
    </message>
    <message>
        <source>It changed while it was being read.</source>
        <translation>Sie wurde während des Lesens geändert.</translation>
    </message>
    <message>
        <source>The page holds %1, which the code page %2 has no byte for.</source>
        <translation>Die Seite enthält %1, wofür die Codepage %2 kein Byte hat.</translation>
    </message>
    <message>
        <source>&quot;#page=%1&quot; names no page (#page=N, from 1)</source>
        <translation>&quot;#page=%1&quot; nennt keine Seite (#page=N, ab 1)</translation>
    </message>
    <message>
        <source>the form is larger than %1 MB, more than a form may be</source>
        <translation>das Formular ist größer als %1 MB, mehr als ein Formular sein darf</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>es hat sich beim Lesen geändert</translation>
    </message>
    <message>
        <source>it is a folder, not a regular file.</source>
        <translation>es ist ein Ordner, keine reguläre Datei.</translation>
    </message>
    <message>
        <source>the form is an image too large to be read (%1 x %2 pixels, more than %3 million; scan it at a lower resolution, 300 or 600 dpi)</source>
        <translation>das Formular ist ein Bild, das zu groß zum Lesen ist (%1 x %2 Pixel, mehr als %3 Millionen; scannen Sie es mit geringerer Auflösung, 300 oder 600 dpi)</translation>
    </message>
</context>
<context>
    <name>ReportColorPanel</name>
    <message>
        <source>Double-click to choose the colour</source>
        <translation>Doppelklicken, um die Farbe zu wählen</translation>
    </message>
    <message>
        <source>Show the pages as the printer prints them: sheets, pictures and columns</source>
        <translation>Die Seiten so zeigen, wie der Drucker sie druckt: Blätter, Bilder und Spalten</translation>
    </message>
    <message>
        <source>11 in form</source>
        <translation>Formular 11 Zoll</translation>
    </message>
    <message>
        <source>12 in form (European fanfold)</source>
        <translation>Formular 12 Zoll (europäisches Endlospapier)</translation>
    </message>
    <message>
        <source>Wide carriage (13.6 in)</source>
        <translation>Breiter Wagen (13,6 Zoll)</translation>
    </message>
    <message>
        <source>Narrow carriage (8 in)</source>
        <translation>Schmaler Wagen (8 Zoll)</translation>
    </message>
    <message>
        <source>The printer the file was written for: 9 and 24 pins count line spacing in other steps</source>
        <translation>Der Drucker, für den die Datei geschrieben wurde: 9 und 24 Nadeln zählen den Zeilenabstand in anderen Schritten</translation>
    </message>
    <message>
        <source>Form...</source>
        <translation>Formular...</translation>
    </message>
    <message>
        <source>Lay a PDF page or an image under the printed sheets, as pre-printed paper</source>
        <translation>Eine PDF-Seite oder ein Bild als vorgedrucktes Papier unter die gedruckten Blätter legen</translation>
    </message>
    <message>
        <source>%1 in form</source>
        <translation>Formular %1 Zoll</translation>
    </message>
    <message>
        <source>Read as: %1</source>
        <translation>Gelesen als: %1</translation>
    </message>
    <message>
        <source>Dubble</source>
        <translation>Doppelt</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Condence</source>
        <translation>Schmal</translation>
    </message>
    <message>
        <source>Report Backcolor</source>
        <translation>Berichtshintergrund</translation>
    </message>
    <message>
        <source>Search String</source>
        <translation>Suchbegriff</translation>
    </message>
    <message>
        <source>HighLight Text</source>
        <translation>Hervorgehobener Text</translation>
    </message>
    <message>
        <source>Color Setting</source>
        <translation>Farbeinstellung</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>-1  Line</source>
        <translation>-1  Zeile</translation>
    </message>
    <message>
        <source>Code page</source>
        <translation>Codepage</translation>
    </message>
    <message>
        <source>Detect</source>
        <translation>Erkennen</translation>
    </message>
    <message>
        <source>Printed</source>
        <translation>Wie gedruckt</translation>
    </message>
</context>
<context>
    <name>ReportDocument</name>
    <message>
        <source>%1 changed on disk after it was loaded; reload it, then try again.</source>
        <translation>%1 wurde nach dem Laden auf dem Datenträger geändert; laden Sie die Datei neu und versuchen Sie es dann noch einmal.</translation>
    </message>
    <message>
        <source>Page %1 is past the last page (%2).</source>
        <translation>Seite %1 liegt hinter der letzten Seite (%2).</translation>
    </message>
    <message>
        <source>Page numbers start at 1: page %1 to %2 is no range.</source>
        <translation>Seitenzahlen beginnen bei 1: Seite %1 bis %2 ist kein Bereich.</translation>
    </message>
    <message>
        <source>The range from page %1 to %2 runs backwards.</source>
        <translation>Der Bereich von Seite %1 bis %2 läuft rückwärts.</translation>
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
        <translation>Wählen Sie zuerst mit der Schaltfläche Export den Namen der Arbeitsmappe.</translation>
    </message>
    <message>
        <source>Finsh Record Click</source>
        <translation>Aufzeichnung beenden</translation>
    </message>
    <message>
        <source>Excel Export</source>
        <translation>Excel-Export</translation>
    </message>
    <message>
        <source> Export Complete </source>
        <translation> Export abgeschlossen </translation>
    </message>
    <message>
        <source>%1: pictures show the sheets of the printed look; tick &quot;Printed&quot; in the colour settings and export again.</source>
        <translation>%1: Bilder zeigen die Blätter der Druckansicht; kreuzen Sie „Gedruckt“ in den Farbeinstellungen an und exportieren Sie erneut.</translation>
    </message>
    <message>
        <source>Writing %1 ...</source>
        <translation>%1 wird geschrieben ...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>RulesDialog</name>
    <message>
        <source>Rules - %1</source>
        <translation>Regeln - %1</translation>
    </message>
    <message>
        <source>Rules &amp;File...</source>
        <translation>Regel&amp;datei...</translation>
    </message>
    <message>
        <source>&amp;Read Again</source>
        <translation>&amp;Erneut lesen</translation>
    </message>
    <message>
        <source>Rules File</source>
        <translation>Regeldatei</translation>
    </message>
    <message>
        <source>Rules files (*.conf *.ini)|*.conf *.ini|All files (*)|*</source>
        <translation>Regeldateien (*.conf *.ini)|*.conf *.ini|Alle Dateien (*)|*</translation>
    </message>
    <message>
        <source>What %1 would do with %2 (nothing is done):</source>
        <translation>Was %1 mit %2 tun würde (es wird nichts ausgeführt):</translation>
    </message>
</context>
<context>
    <name>SheetView</name>
    <message>
        <source>Some pictures are not shown: this sheet holds more than the %1 MB of pictures a sheet may take.</source>
        <translation>Einige Bilder werden nicht gezeigt: dieses Blatt enthält mehr als die %1 MB an Bildern, die ein Blatt haben darf.</translation>
    </message>
    <message>
        <source>Some text is not shown: this sheet holds more than the %1 runs of text a sheet may take.</source>
        <translation>Einiger Text wird nicht gezeigt: dieses Blatt enthält mehr als die %1 Textstücke, die ein Blatt haben darf.</translation>
    </message>
</context>
<context>
    <name>Sticker</name>
    <message>
        <source>No kind of barcode is chosen.</source>
        <translation>Es ist keine Strichcodeart gewählt.</translation>
    </message>
    <message>
        <source>An empty text cannot be drawn as a %1 barcode.</source>
        <translation>Ein leerer Text kann nicht als %1-Strichcode gezeichnet werden.</translation>
    </message>
    <message>
        <source>A %1 barcode cannot be drawn: %2</source>
        <translation>Ein %1-Strichcode kann nicht gezeichnet werden: %2</translation>
    </message>
    <message>
        <source>There is not enough memory to draw a barcode.</source>
        <translation>Es ist nicht genug Speicher frei, um einen Strichcode zu zeichnen.</translation>
    </message>
    <message>
        <source>The first range runs backwards, from %1 to %2: give the smaller number first.</source>
        <translation>Der erste Bereich läuft rückwärts, von %1 bis %2: Geben Sie die kleinere Zahl zuerst an.</translation>
    </message>
    <message>
        <source>No temporary print file can be created.</source>
        <translation>Es kann keine temporäre Druckdatei angelegt werden.</translation>
    </message>
    <message>
        <source>The print file %1 cannot be written.
%2</source>
        <translation>Die Druckdatei %1 kann nicht geschrieben werden.
%2</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>The data file %1 cannot be used: %2.</source>
        <translation>Die Datendatei %1 kann nicht verwendet werden: %2.</translation>
    </message>
    <message>
        <source>line %1 holds a NUL character</source>
        <translation>Zeile %1 enthält ein NUL-Zeichen</translation>
    </message>
    <message>
        <source>the quoted field that starts on line %1 is not closed</source>
        <translation>das in Zeile %1 beginnende Feld in Anführungszeichen wird nicht geschlossen</translation>
    </message>
    <message>
        <source>it has no line naming the columns</source>
        <translation>sie hat keine Zeile mit den Spaltennamen</translation>
    </message>
    <message>
        <source>There is no format slot %1.</source>
        <translation>Es gibt keinen Formatplatz %1.</translation>
    </message>
    <message>
        <source>The format file %1 cannot be saved.
%2</source>
        <translation>Die Formatdatei %1 kann nicht gespeichert werden.
%2</translation>
    </message>
    <message>
        <source>The PDF file %1 cannot be written: %2</source>
        <translation>Die PDF-Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the PDF could not be started.</source>
        <translation>die PDF-Datei konnte nicht begonnen werden.</translation>
    </message>
    <message>
        <source>The stickers could not be printed.
%1</source>
        <translation>Die Etiketten konnten nicht gedruckt werden.
%1</translation>
    </message>
    <message>
        <source>The stickers could not be drawn.
%1</source>
        <translation>Die Etiketten konnten nicht gezeichnet werden.
%1</translation>
    </message>
    <message>
        <source>The stickers take more than %1 pages, more than a PDF may have.</source>
        <translation>Die Etiketten ergeben mehr als %1 Seiten, mehr als ein PDF haben darf.</translation>
    </message>
    <message>
        <source>The sheet would take up to %1, more than the %2 free for the print file in %3. Check &quot;Page&quot;, &quot;Row&quot;, &quot;Col&quot; and &quot;Max Field Lenth&quot;.</source>
        <translation>Der Bogen bräuchte bis zu %1, mehr als die %2, die für die Druckdatei in %3 frei sind. Prüfen Sie &quot;Seite&quot;, &quot;Zeilen&quot;, &quot;Spalten&quot; und &quot;Max. Feldlänge&quot;.</translation>
    </message>
    <message>
        <source>A Code 39 barcode holds capital letters only; &quot;%1&quot; has small ones (Code 128 holds them).</source>
        <translation>Ein Code-39-Strichcode kennt nur Großbuchstaben; &quot;%1&quot; hat Kleinbuchstaben (Code 128 kennt sie).</translation>
    </message>
    <message>
        <source>A sheet of %1 columns and %2 rows of stickers holds none: &quot;Col&quot; and &quot;Row&quot; must be 1 or more.</source>
        <translation>Ein Bogen mit %1 Spalten und %2 Zeilen hält kein Etikett: &quot;Spalten&quot; und &quot;Zeilen&quot; müssen 1 oder mehr sein.</translation>
    </message>
    <message>
        <source>The stickers have no lines: &quot;Max Field&quot; must be 1 or more.</source>
        <translation>Die Etiketten haben keine Zeilen: &quot;Max. Felder&quot; muss 1 oder mehr sein.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 columns of stickers fall on the A4 sheet (%3 twips wide); the others would not print. Use fewer columns, or less &quot;Sticker Left Space&quot;.</source>
        <translation>Nur %1 der %2 Etikettenspalten liegen auf dem A4-Blatt (%3 Twips breit); die anderen würden nicht gedruckt. Nehmen Sie weniger Spalten oder weniger &quot;Abstand links im Etikett&quot;.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 rows of stickers on a printed sheet fall on the A4 sheet (%3 twips high); the others would not print. Lower &quot;Row Printing&quot;, or the &quot;Margin Between Two Sticker&quot;.</source>
        <translation>Nur %1 der %2 Etikettenzeilen eines gedruckten Blattes liegen auf dem A4-Blatt (%3 Twips hoch); die anderen würden nicht gedruckt. Verringern Sie &quot;Zeilendruck&quot; oder den &quot;Abstand zw. Etiketten&quot;.</translation>
    </message>
</context>
<context>
    <name>StickerMorePanel</name>
    <message>
        <source>More</source>
        <translation>Weitere</translation>
    </message>
    <message>
        <source>Running numbers padded with zeros to this many digits (0: as they are).</source>
        <translation>Laufende Nummern mit Nullen auf so viele Stellen aufgefüllt (0: unverändert).</translation>
    </message>
    <message>
        <source>Windows mode: the first free sticker of a part-used sheet, counted across the rows from 1.</source>
        <translation>Windows-Druck: das erste freie Etikett eines angebrochenen Bogens, zeilenweise ab 1 gezählt.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>Windows mode: the line with the running number drawn as this barcode, sized to the sticker.</source>
        <translation>Windows-Druck: die Zeile mit der laufenden Nummer als dieser Strichcode, passend zum Etikett.</translation>
    </message>
    <message>
        <source>Character mode: the printer&apos;s code page, the bytes the sheet&apos;s letters are written as.</source>
        <translation>Zeichenmodus: die Codepage des Druckers, die Bytes, als die die Buchstaben des Bogens geschrieben werden.</translation>
    </message>
    <message>
        <source>A CSV file whose first row names the columns: each row makes one sticker, and {Column} in a line takes the row&apos;s value. Empty: every sticker alike.</source>
        <translation>Eine CSV-Datei, deren erste Zeile die Spalten benennt: jede Zeile ergibt ein Etikett, und {Spalte} in einer Zeile nimmt den Wert der Zeile an. Leer: alle Etiketten gleich.</translation>
    </message>
    <message>
        <source>Choose the CSV file.</source>
        <translation>Die CSV-Datei wählen.</translation>
    </message>
    <message>
        <source>From the header</source>
        <translation>Aus der Kopfzeile</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Semikolon</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>What separates the data file&apos;s fields.</source>
        <translation>Was die Felder der Datendatei trennt.</translation>
    </message>
    <message>
        <source>From the file</source>
        <translation>Aus der Datei</translation>
    </message>
    <message>
        <source>The data file&apos;s encoding. From the file: UTF-8, else Windows-1252; a byte-order mark always decides.</source>
        <translation>Die Kodierung der Datendatei. Aus der Datei: UTF-8, sonst Windows-1252; eine Bytereihenfolge-Markierung entscheidet immer.</translation>
    </message>
    <message>
        <source>Digits</source>
        <translation>Stellen</translation>
    </message>
    <message>
        <source>Start at sticker</source>
        <translation>Beginnen bei Etikett</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Strichcode</translation>
    </message>
    <message>
        <source>Code page</source>
        <translation>Codepage</translation>
    </message>
    <message>
        <source>Data file</source>
        <translation>Datendatei</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kodierung</translation>
    </message>
    <message>
        <source>Sticker Data</source>
        <translation>Etikettendaten</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)|*.csv|All Files (*.*)|*.*</source>
        <translation>CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Choose the data file</source>
        <translation>Datendatei wählen</translation>
    </message>
    <message>
        <source>&quot;Digits&quot; must be a number from 0 to %1.</source>
        <translation>&quot;Stellen&quot; muss eine Zahl von 0 bis %1 sein.</translation>
    </message>
</context>
<context>
    <name>StickerPreview</name>
    <message>
        <source>Zoom out (Ctrl+wheel)</source>
        <translation>Verkleinern (Strg+Mausrad)</translation>
    </message>
    <message>
        <source>Zoom in (Ctrl+wheel)</source>
        <translation>Vergrößern (Strg+Mausrad)</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Fit to window</source>
        <translation>An Fenster anpassen</translation>
    </message>
</context>
<context>
    <name>WindowSheetPrinting</name>
    <message>
        <source>Information Window</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Printing Error</source>
        <translation>Druckfehler</translation>
    </message>
    <message>
        <source>Stickers</source>
        <translation>Etiketten</translation>
    </message>
</context>
</TS>
