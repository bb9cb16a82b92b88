<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>ConfigPanel</name>
    <message>
        <source>TQ-3 konfiguracja|*.tcf</source>
        <translation>TQ-3 configuration|*.tcf</translation>
    </message>
    <message>
        <source>Pole &quot;%1&quot; zawiera znak, którego sterownik nie obsługuje. Usuń go i spróbuj ponownie.</source>
        <translation>The field &quot;%1&quot; holds a character the controller does not support. Remove it and try again.</translation>
    </message>
    <message>
        <source>Pole &quot;%1&quot; musi zawierać liczbę od 0 do %2.</source>
        <translation>The field &quot;%1&quot; must hold a number from 0 to %2.</translation>
    </message>
    <message>
        <source>Tekst w polu &quot;HASŁO&quot; jest za długi (najwyżej %1 znaków).</source>
        <translation>The text in the &quot;PASS&quot; field is too long (at most %1 characters).</translation>
    </message>
    <message>
        <source>Pole &quot;HASŁO&quot; zawiera znak, którego sterownik nie obsługuje. Usuń go i spróbuj ponownie.</source>
        <translation>The &quot;PASS&quot; field holds a character the controller does not support. Remove it and try again.</translation>
    </message>
    <message>
        <source>Pobieram konfiguracje nadajnika</source>
        <translation>Reading the controller&apos;s settings</translation>
    </message>
    <message>
        <source>Brak odpowiedzi z TQ-3</source>
        <translation>No answer from the TQ-3</translation>
    </message>
    <message>
        <source>Wysyłam konfiguracje do nadajnika</source>
        <translation>Writing the settings to the controller</translation>
    </message>
    <message>
        <source>Błąd zapisu</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>Zly format pliku</source>
        <translation>Wrong file format</translation>
    </message>
    <message>
        <source>Odczytano plik konfiguracji</source>
        <translation>Configuration file read</translation>
    </message>
</context>
<context>
    <name>HistoryChartWindow</name>
    <message>
        <source>Wykres historii temperatury</source>
        <translation>Temperature history chart</translation>
    </message>
    <message>
        <source>Całość</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Zapisz obraz…</source>
        <translation>Save image…</translation>
    </message>
    <message>
        <source>Drukuj…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>Zapisz obraz wykresu</source>
        <translation>Save the chart image</translation>
    </message>
    <message>
        <source>Obraz PNG|*.png|Rysunek SVG|*.svg|Dokument PDF|*.pdf</source>
        <translation>PNG image|*.png|SVG drawing|*.svg|PDF document|*.pdf</translation>
    </message>
    <message>
        <source>Wykres historii</source>
        <translation>History chart</translation>
    </message>
    <message>
        <source>Zapisano obraz wykresu</source>
        <translation>Chart image saved</translation>
    </message>
    <message>
        <source>Błąd zapisu</source>
        <translation>Write error</translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Rejestr historii</source>
        <translation>History log</translation>
    </message>
    <message>
        <source>Nie zapisano</source>
        <translation>Not saved</translation>
    </message>
    <message>
        <source>Zapisano plik historii</source>
        <translation>History file saved</translation>
    </message>
    <message>
        <source>Błąd zapisu</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>TQ-3 konfiguracja</source>
        <translation>TQ-3 configuration</translation>
    </message>
    <message>
        <source>Otwórz zapisaną historię</source>
        <translation>Open a saved history</translation>
    </message>
    <message>
        <source>Historia TQ-3|*.txt;*.csv|Wszystkie pliki|*</source>
        <translation>TQ-3 history|*.txt;*.csv|All files|*</translation>
    </message>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>Cannot open the file %1</translation>
    </message>
    <message>
        <source>Plik %1 nie zawiera rekordów historii</source>
        <translation>The file %1 holds no history records</translation>
    </message>
    <message>
        <source>Pominięto wiersze, które nie są rekordami historii: %1</source>
        <translation>Lines skipped that are not history records: %1</translation>
    </message>
    <message>
        <source>CSV dla arkusza|*.csv</source>
        <translation>CSV for spreadsheets|*.csv</translation>
    </message>
    <message>
        <source>Historia temperatury skasowana</source>
        <translation>Temperature history erased</translation>
    </message>
</context>
<context>
    <name>QtPrompts</name>
    <message>
        <source>Konfigurator TQ-3</source>
        <translation>TQ-3 Configurator</translation>
    </message>
    <message>
        <source>Informacja</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Ostrzeżenie</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Błąd</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Potwierdzenie</source>
        <translation>Confirmation</translation>
    </message>
</context>
<context>
    <name>TFInfo</name>
    <message>
        <source>O programie</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Konfigurator TQ-3 v2.0</source>
        <translation>TQ-3 Configurator v2.0</translation>
    </message>
</context>
<context>
    <name>TFboot</name>
    <message>
        <source>NIE WYŁĄCZAJ TQ-3 Z ZASILANIA</source>
        <translation>DO NOT SWITCH THE TQ-3 OFF</translation>
    </message>
    <message>
        <source>Brak odpowiedzi z VSKR, aktualizacja nieudana</source>
        <translation>No answer from the controller, the update failed</translation>
    </message>
    <message>
        <source>Aktualizacja zakonczona</source>
        <translation>Update finished</translation>
    </message>
    <message>
        <source>Aktualizacja frimware</source>
        <translation>Firmware update</translation>
    </message>
    <message>
        <source>Plik</source>
        <translation>File</translation>
    </message>
    <message>
        <source>TQ-3 firmware|*.tfr</source>
        <translation>TQ-3 firmware|*.tfr</translation>
    </message>
    <message>
        <source>Plik nie zawiera obrazu firmware</source>
        <translation>The file holds no firmware image</translation>
    </message>
</context>
<context>
    <name>TFhaslo_nowe</name>
    <message>
        <source>Nowe haslo :</source>
        <translation>New pass :</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Anuluj</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Hasło jest za długie: można najwyżej %1 znaków.</source>
        <translation>The password is too long: at most %1 characters.</translation>
    </message>
    <message>
        <source>Hasło zawiera znak, którego nie da się wysłać do sterownika.</source>
        <translation>The password holds a character that cannot be sent to the controller.</translation>
    </message>
    <message>
        <source>Hasło zmienione</source>
        <translation>Password changed</translation>
    </message>
</context>
<context>
    <name>TMain</name>
    <message>
        <source>POŁĄCZONY</source>
        <translation>CONNECTED</translation>
    </message>
    <message>
        <source>Błędne hasło</source>
        <translation>Wrong password</translation>
    </message>
    <message>
        <source>ROZŁĄCZONY</source>
        <translation>DISCONNECTED</translation>
    </message>
    <message>
        <source>Wylogowano z TQ-3</source>
        <translation>Logged out of the TQ-3</translation>
    </message>
    <message>
        <source>Port COM niedostępny</source>
        <translation>COM port not available</translation>
    </message>
    <message>
        <source>ZALOGOWANY</source>
        <translation>LOGGED IN</translation>
    </message>
    <message>
        <source>WYLOGOWANY</source>
        <translation>LOGGED OUT</translation>
    </message>
    <message>
        <source>TQ-3 v ...</source>
        <translation>TQ-3 v ...</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Konfigurator TQ-3 v 2.2</source>
        <translation>TQ-3 Configurator v 2.2</translation>
    </message>
    <message>
        <source>Opcje TQ-3</source>
        <translation>TQ-3 options</translation>
    </message>
    <message>
        <source>Historia temperatury</source>
        <translation>Temperature history</translation>
    </message>
    <message>
        <source>Ustawienia SMS</source>
        <translation>SMS settings</translation>
    </message>
    <message>
        <source>Stan TQ-3</source>
        <translation>TQ-3 status</translation>
    </message>
    <message>
        <source>Ustawienia temperatury</source>
        <translation>Temperature settings</translation>
    </message>
    <message>
        <source>PORT :</source>
        <translation>PORT :</translation>
    </message>
    <message>
        <source>HASŁO</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>Hasło dostępu (4 cyfry)</source>
        <translation>Access password (4 digits)</translation>
    </message>
    <message>
        <source>POŁĄCZ</source>
        <translation>CONNECT</translation>
    </message>
    <message>
        <source>Połącz do sterownika VSKR</source>
        <translation>Connect to the controller</translation>
    </message>
    <message>
        <source>ROZŁĄCZ</source>
        <translation>CLOSE</translation>
    </message>
    <message>
        <source>Rozłącz od sterownika  VSKR</source>
        <translation>Disconnect from the controller</translation>
    </message>
    <message>
        <source>ROZŁĄCZONY</source>
        <translation>DISCONNECTED</translation>
    </message>
    <message>
        <source>WYLOGOWANY</source>
        <translation>LOGGED OUT</translation>
    </message>
    <message>
        <source>Odczytaj konfiguracje z VSKR</source>
        <translation>Read the settings from the controller</translation>
    </message>
    <message>
        <source>Zapisz konfiguracje do VSKR</source>
        <translation>Write the settings to the controller</translation>
    </message>
    <message>
        <source>Pobieram konfiguracje</source>
        <translation>Reading settings</translation>
    </message>
    <message>
        <source>Zmiana hasła</source>
        <translation>New password</translation>
    </message>
    <message>
        <source>Zeruj liczniki</source>
        <translation>Reset counts</translation>
    </message>
    <message>
        <source>Zeruje liczniki SMS i Voice</source>
        <translation>Resets the SMS and voice call counters</translation>
    </message>
    <message>
        <source>Restart TQ-3</source>
        <translation>Restart TQ-3</translation>
    </message>
    <message>
        <source>Ustaw zegar</source>
        <translation>Set clock</translation>
    </message>
    <message>
        <source>Aktualizacja</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Kasuj historie</source>
        <translation>Erase history</translation>
    </message>
    <message>
        <source>Operator GSM</source>
        <translation>GSM operator</translation>
    </message>
    <message>
        <source>inny</source>
        <translation>other</translation>
    </message>
    <message>
        <source>Centrum SMS</source>
        <translation>SMS centre</translation>
    </message>
    <message>
        <source>PIN karty SIM</source>
        <translation>SIM card PIN</translation>
    </message>
    <message>
        <source>PIN karty SIM (4 cyfry)</source>
        <translation>SIM card PIN (4 digits)</translation>
    </message>
    <message>
        <source>Telefon nr. 1</source>
        <translation>Phone no. 1</translation>
    </message>
    <message>
        <source>Telefon nr. 2</source>
        <translation>Phone no. 2</translation>
    </message>
    <message>
        <source>Telefon nr. 3</source>
        <translation>Phone no. 3</translation>
    </message>
    <message>
        <source>Telefon nr. 4</source>
        <translation>Phone no. 4</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOP</translation>
    </message>
    <message>
        <source>Zapisz do pliku</source>
        <translation>Save to file</translation>
    </message>
    <message>
        <source>Zasilacz 5V (stan 230V)</source>
        <translation>5V supply (230V mains)</translation>
    </message>
    <message>
        <source>Brak</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Powrót</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Bateria</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>Rozład.</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Naład.</source>
        <translation>Full</translation>
    </message>
    <message>
        <source>Temperatura</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>Wysoka</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Norma</source>
        <translation>Norm</translation>
    </message>
    <message>
        <source>Niska</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Zapytanie o stan </source>
        <translation>Status query </translation>
    </message>
    <message>
        <source>Limit [24h]:  SMS</source>
        <translation>Limit [24h]:  SMS</translation>
    </message>
    <message>
        <source>Dobowy limit SMS</source>
        <translation>Daily SMS limit</translation>
    </message>
    <message>
        <source>0 z</source>
        <translation>0 /</translation>
    </message>
    <message>
        <source>Ilość wykorzystanych SMS z limitu dobowego</source>
        <translation>SMS messages used of the daily limit</translation>
    </message>
    <message>
        <source>Dzwon</source>
        <translation>Calls</translation>
    </message>
    <message>
        <source>Filtr SMS</source>
        <translation>SMS filter</translation>
    </message>
    <message>
        <source>NIEwysyłaj w PN-PT 7-18 </source>
        <translation>not sent Mon-Fri 7-18 </translation>
    </message>
    <message>
        <source>Dzwoń na alarm temepratury</source>
        <translation>Call on temperature alarm</translation>
    </message>
    <message>
        <source>Bateria :</source>
        <translation>Battery :</translation>
    </message>
    <message>
        <source>Zasilacz 5V :</source>
        <translation>5V supply :</translation>
    </message>
    <message>
        <source>Sygnał GSM:</source>
        <translation>GSM signal:</translation>
    </message>
    <message>
        <source>TQ-3 v ...</source>
        <translation>TQ-3 v ...</translation>
    </message>
    <message>
        <source>Wersja frimware w sterowniku VSKR</source>
        <translation>The controller&apos;s firmware version</translation>
    </message>
    <message>
        <source>Zd: 0</source>
        <translation>Ev: 0</translation>
    </message>
    <message>
        <source>Ilość zdarzeń do obsługi</source>
        <translation>Events waiting to be handled</translation>
    </message>
    <message>
        <source>Aktualna temperatura :</source>
        <translation>Current temperature :</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Korekta temperatury</source>
        <translation>Temp. correction</translation>
    </message>
    <message>
        <source>Zapis temp. co  [min]</source>
        <translation>Log temp. every [min]</translation>
    </message>
    <message>
        <source>Plik</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Odczyt</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Zapis</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Dane</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Historia</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Otwórz zapisaną historię…</source>
        <translation>Open saved history…</translation>
    </message>
    <message>
        <source>Zapisz do arkusza (CSV)…</source>
        <translation>Save for a spreadsheet (CSV)…</translation>
    </message>
    <message>
        <source>Wykres…</source>
        <translation>Chart…</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>O programie</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>tq3</name>
    <message>
        <source>Użycie: tq3 [--port URZĄDZENIE] [--lang pl|en]
Konfigurator TQ-3: ustawienia, stan, historia i firmware sterownika TQ-3 przez port
szeregowy (4800 8N1), w oknie programu.

Opcje:
      --port URZĄDZENIE  wybiera port w oknie: COM1..COM8, nazwa adaptera z listy
                         portów, ścieżka urządzenia (np. /dev/ttyUSB0) albo linia
                         sieciowa socket://HOST:PORT lub rfc2217://HOST:PORT;
                         połączenie nawiązuje przycisk POŁĄCZ
      --lang pl|en       język programu: polski albo angielski; bez tej opcji
                         zmienna TQ3_LANG, a bez niej języki systemu
  -h, --help             pomoc
      --version          wersja programu

Sterownik z wiersza poleceń: tq3ctl --help
</source>
        <translation>Usage: tq3 [--port DEVICE] [--lang pl|en]
TQ-3 Configurator: the settings, status, history and firmware of the TQ-3 controller
over its serial line (4800 8N1), in the program&apos;s window.

Options:
      --port DEVICE      chooses the port in the window: COM1..COM8, an adapter&apos;s name
                         from the port list, a device path (e.g. /dev/ttyUSB0) or a
                         network line socket://HOST:PORT or rfc2217://HOST:PORT;
                         the CONNECT button connects
      --lang pl|en       the program&apos;s language: Polish or English; without this
                         option the TQ3_LANG variable, without it the system&apos;s
  -h, --help             this help
      --version          the program&apos;s version

The controller from the command line: tq3ctl --help
</translation>
    </message>
    <message>
        <source>Nieznana opcja: %1%2</source>
        <translation>Unknown option: %1%2</translation>
    </message>
    <message>
        <source>Opcja %1 wymaga wartości</source>
        <translation>The option %1 needs a value</translation>
    </message>
    <message>
        <source>Opcje --help i --version nie przyjmują wartości</source>
        <translation>The options --help and --version take no value</translation>
    </message>
    <message>
        <source>Nieznany język: %1 (pl albo en)</source>
        <translation>Unknown language: %1 (pl or en)</translation>
    </message>
    <message>
        <source>nie znaleziono polskiego katalogu Qt (pakiet qt6-translations-l10n)</source>
        <translation>Qt&apos;s Polish catalogue not found (package qt6-translations-l10n)</translation>
    </message>
    <message>
        <source>Więcej: tq3 --help</source>
        <translation>More: tq3 --help</translation>
    </message>
</context>
</TS>
