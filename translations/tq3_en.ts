<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>ConfigItems</name>
    <message>
        <source>PIN karty SIM</source>
        <translation>SIM card PIN</translation>
    </message>
    <message>
        <source>Centrum SMS</source>
        <translation>SMS centre</translation>
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
        <source>Zasilacz 5V: Brak</source>
        <translation>5V supply: Lost</translation>
    </message>
    <message>
        <source>Temperatura: Wysoka</source>
        <translation>Temperature: High</translation>
    </message>
    <message>
        <source>Zasilacz 5V: Powrót</source>
        <translation>5V supply: Back</translation>
    </message>
    <message>
        <source>Temperatura: Niska</source>
        <translation>Temperature: Low</translation>
    </message>
    <message>
        <source>Temperatura: Norma</source>
        <translation>Temperature: Norm</translation>
    </message>
    <message>
        <source>Zapytanie o stan</source>
        <translation>Status query</translation>
    </message>
    <message>
        <source>Limit [24h]: SMS</source>
        <translation>Limit [24h]: SMS</translation>
    </message>
    <message>
        <source>Alarm temperatury: Min, Max</source>
        <translation>Temperature alarm: Min, Max</translation>
    </message>
    <message>
        <source>Korekta temperatury</source>
        <translation>Temp. correction</translation>
    </message>
    <message>
        <source>Zapis temp. co [min]</source>
        <translation>Log temp. every [min]</translation>
    </message>
    <message>
        <source>Bateria: Rozład.</source>
        <translation>Battery: Low</translation>
    </message>
    <message>
        <source>Bateria: Naład.</source>
        <translation>Battery: Full</translation>
    </message>
    <message>
        <source>Dzwon przy alarmie</source>
        <translation>Call on alarm</translation>
    </message>
    <message>
        <source>Limit [24h]: Dzwon</source>
        <translation>Limit [24h]: Calls</translation>
    </message>
    <message>
        <source>Tekst w polu &quot;%1&quot; jest za długi (najwyżej %2 znaków).</source>
        <translation>The text in the field &quot;%1&quot; is too long (%2 characters at most).</translation>
    </message>
    <message>
        <source>, Filtr SMS</source>
        <translation>, SMS filter</translation>
    </message>
    <message>
        <source>tak</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nie</source>
        <translation>no</translation>
    </message>
</context>
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
    <name>DataFile</name>
    <message>
        <source>Nie można otworzyć pliku</source>
        <translation>Cannot open the file</translation>
    </message>
    <message>
        <source>Zly format pliku</source>
        <translation>Wrong file format</translation>
    </message>
    <message>
        <source>Nie można odczytać pliku</source>
        <translation>Cannot read the file</translation>
    </message>
    <message>
        <source>Bląd CRC pliku konfiguracji</source>
        <translation>Configuration file CRC error</translation>
    </message>
</context>
<context>
    <name>DeviceLink</name>
    <message>
        <source>Brak odpowiedzi z TQ-3</source>
        <translation>No answer from the TQ-3</translation>
    </message>
</context>
<context>
    <name>DeviceStatus</name>
    <message>
        <source>Załączenie modemu GSM</source>
        <translation>Modem power-on</translation>
    </message>
    <message>
        <source>Wykrywanie modemu GSM</source>
        <translation>Detecting modem</translation>
    </message>
    <message>
        <source>Sprawdzenie karty SIM</source>
        <translation>Checking SIM</translation>
    </message>
    <message>
        <source>Wprowadzanie PIN</source>
        <translation>Entering PIN</translation>
    </message>
    <message>
        <source>Logowanie do sieci GSM</source>
        <translation>Joining network</translation>
    </message>
    <message>
        <source>Kasowanie SMS</source>
        <translation>Deleting SMS</translation>
    </message>
    <message>
        <source>Konfiguracja SMS</source>
        <translation>Setting up SMS</translation>
    </message>
    <message>
        <source>Zapis SMSC</source>
        <translation>Saving SMSC</translation>
    </message>
    <message>
        <source>Odczyt poziomu RSSI</source>
        <translation>Reading RSSI</translation>
    </message>
    <message>
        <source>Połączony z siecią GSM</source>
        <translation>Connected to GSM</translation>
    </message>
    <message>
        <source>RESET modemu GSM</source>
        <translation>GSM modem RESET</translation>
    </message>
    <message>
        <source>Zd: %1</source>
        <extracomment>Events waiting to be handled, in a narrow label</extracomment>
        <translation>Ev: %1</translation>
    </message>
    <message>
        <source>%1 z</source>
        <extracomment>Used of the daily limit, read against the limit field to its right; no wider than &quot;0 z&quot;</extracomment>
        <translation>%1 /</translation>
    </message>
</context>
<context>
    <name>HistoryChart</name>
    <message>
        <source>S</source>
        <extracomment>Chart mark over the event: device start. Marks stand over their events: keep them a few letters.</extracomment>
        <translation>S</translation>
    </message>
    <message>
        <source>start urządzenia</source>
        <translation>device start</translation>
    </message>
    <message>
        <source>GSM</source>
        <translation>GSM</translation>
    </message>
    <message>
        <source>zestawienie łącza GSM</source>
        <translation>GSM link set up</translation>
    </message>
    <message>
        <source>B230</source>
        <extracomment>Chart mark: 230 V mains lost (Brak)</extracomment>
        <translation>M-</translation>
    </message>
    <message>
        <source>brak 230 V</source>
        <translation>230 V mains lost</translation>
    </message>
    <message>
        <source>P230</source>
        <extracomment>Chart mark: 230 V mains back (Powrót)</extracomment>
        <translation>M+</translation>
    </message>
    <message>
        <source>powrót 230 V</source>
        <translation>230 V mains back</translation>
    </message>
    <message>
        <source>Bat-</source>
        <translation>Bat-</translation>
    </message>
    <message>
        <source>bateria rozładowana</source>
        <translation>battery low</translation>
    </message>
    <message>
        <source>Bat+</source>
        <translation>Bat+</translation>
    </message>
    <message>
        <source>bateria naładowana</source>
        <translation>battery charged</translation>
    </message>
    <message>
        <source>A+</source>
        <translation>A+</translation>
    </message>
    <message>
        <source>alarm: wysoka temperatura</source>
        <translation>alarm: high temperature</translation>
    </message>
    <message>
        <source>N</source>
        <extracomment>Chart mark: temperature back to normal (Norma)</extracomment>
        <translation>N</translation>
    </message>
    <message>
        <source>powrót temperatury do normy</source>
        <translation>temperature back to normal</translation>
    </message>
    <message>
        <source>A-</source>
        <translation>A-</translation>
    </message>
    <message>
        <source>alarm: niska temperatura</source>
        <translation>alarm: low temperature</translation>
    </message>
    <message>
        <source>sty</source>
        <extracomment>January, short, under the chart&apos;s time axis</extracomment>
        <translation>Jan</translation>
    </message>
    <message>
        <source>lut</source>
        <extracomment>February, short</extracomment>
        <translation>Feb</translation>
    </message>
    <message>
        <source>mar</source>
        <extracomment>March, short</extracomment>
        <translation>Mar</translation>
    </message>
    <message>
        <source>kwi</source>
        <extracomment>April, short</extracomment>
        <translation>Apr</translation>
    </message>
    <message>
        <source>maj</source>
        <extracomment>May, short</extracomment>
        <translation>May</translation>
    </message>
    <message>
        <source>cze</source>
        <extracomment>June, short</extracomment>
        <translation>Jun</translation>
    </message>
    <message>
        <source>lip</source>
        <extracomment>July, short</extracomment>
        <translation>Jul</translation>
    </message>
    <message>
        <source>sie</source>
        <extracomment>August, short</extracomment>
        <translation>Aug</translation>
    </message>
    <message>
        <source>wrz</source>
        <extracomment>September, short</extracomment>
        <translation>Sep</translation>
    </message>
    <message>
        <source>paź</source>
        <extracomment>October, short</extracomment>
        <translation>Oct</translation>
    </message>
    <message>
        <source>lis</source>
        <extracomment>November, short</extracomment>
        <translation>Nov</translation>
    </message>
    <message>
        <source>gru</source>
        <extracomment>December, short</extracomment>
        <translation>Dec</translation>
    </message>
    <message>
        <source>1 pomiar</source>
        <translation>1 reading</translation>
    </message>
    <message>
        <source>%1 pomiary</source>
        <extracomment>%1 ends in 2, 3 or 4 (not 12-14)</extracomment>
        <translation>%1 readings</translation>
    </message>
    <message>
        <source>%1 pomiarów</source>
        <extracomment>%1 is any other count: 0, 5 to 21, 25 to 31, 100...</extracomment>
        <translation>%1 readings</translation>
    </message>
    <message>
        <source>temperatura</source>
        <translation>temperature</translation>
    </message>
    <message>
        <source>bez zasilania 230 V</source>
        <translation>no 230 V mains</translation>
    </message>
    <message>
        <source>Brak danych historii</source>
        <translation>No history data</translation>
    </message>
    <message>
        <source>Alarm max %1</source>
        <translation>Alarm max %1</translation>
    </message>
    <message>
        <source>Alarm min %1</source>
        <translation>Alarm min %1</translation>
    </message>
    <message>
        <source>1 dzień %1 godz.</source>
        <translation>1 day %1 h</translation>
    </message>
    <message>
        <source>1 dzień</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>%1 dni %2 godz.</source>
        <translation>%1 days %2 h</translation>
    </message>
    <message>
        <source>%1 dni</source>
        <translation>%1 days</translation>
    </message>
    <message>
        <source>%1 godz. %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 godz.</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Brak pomiarów w widocznym zakresie</source>
        <translation>No readings in the visible range</translation>
    </message>
    <message>
        <source>min %1  średnia %2  maks. %3  (%4, %5)</source>
        <extracomment>%1 lowest, %2 mean, %3 highest temperature; %4 how many readings, %5 over what time</extracomment>
        <translation>min %1  mean %2  max %3  (%4, %5)</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>Cannot save the file %1</translation>
    </message>
    <message>
        <source>Za mały rozmiar obrazu: %1 x %2</source>
        <translation>Image too small: %1 x %2</translation>
    </message>
    <message>
        <source>Wykres wymaga QGuiApplication (bez ekranu: QT_QPA_PLATFORM=offscreen)</source>
        <translation>The chart needs a QGuiApplication (without a display: QT_QPA_PLATFORM=offscreen)</translation>
    </message>
    <message>
        <source>Historia sterownika TQ-3</source>
        <translation>TQ-3 controller history</translation>
    </message>
    <message>
        <source>Konfigurator TQ-3</source>
        <translation>TQ-3 Configurator</translation>
    </message>
    <message>
        <source>Nieznany format pliku %1: obsługiwane są .png, .pdf i .svg</source>
        <translation>Unknown file format %1: .png, .pdf and .svg are supported</translation>
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
    <name>HistoryFormat</name>
    <message>
        <source>Zapis cykliczny temperatury</source>
        <translation>Periodic temperature record</translation>
    </message>
    <message>
        <source>Start urzadzenia</source>
        <translation>Device start</translation>
    </message>
    <message>
        <source>Zestawienie łącza GSM</source>
        <translation>GSM link set up</translation>
    </message>
    <message>
        <source>Brak 230V</source>
        <translation>230V lost</translation>
    </message>
    <message>
        <source>Powrot 230V</source>
        <translation>230V back</translation>
    </message>
    <message>
        <source>Bateria rozladowana</source>
        <translation>Battery low</translation>
    </message>
    <message>
        <source>Bateria naladowana</source>
        <translation>Battery charged</translation>
    </message>
    <message>
        <source>Alarm!, Wysoka temperatura</source>
        <translation>Alarm!, High temperature</translation>
    </message>
    <message>
        <source>Powrot do normy temperatury</source>
        <translation>Temperature back to normal</translation>
    </message>
    <message>
        <source>Alarm!, Niska temperatura</source>
        <translation>Alarm!, Low temperature</translation>
    </message>
    <message>
        <source>Niepełna historia: odebrano %1 z %2 rekordu</source>
        <translation>Incomplete history: received %1 of %2 record</translation>
    </message>
    <message>
        <source>Niepełna historia: odebrano %1 z %2 rekordów</source>
        <translation>Incomplete history: received %1 of %2 records</translation>
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
    <name>NetworkPorts</name>
    <message>
        <source>linia sieciowa, ostatnio użyta</source>
        <translation>network line, recently used</translation>
    </message>
</context>
<context>
    <name>PortList</name>
    <message>
        <source>Producent: %1</source>
        <translation>Manufacturer: %1</translation>
    </message>
    <message>
        <source>Opis: %1</source>
        <translation>Description: %1</translation>
    </message>
    <message>
        <source>Numer seryjny: %1</source>
        <translation>Serial number: %1</translation>
    </message>
    <message>
        <source>Urządzenie: %1</source>
        <translation>Device: %1</translation>
    </message>
</context>
<context>
    <name>PortOpen</name>
    <message>
        <source>Serwer %1 odmówił połączenia.</source>
        <translation>Server %1 refused the connection.</translation>
    </message>
    <message>
        <source>Nieznany host %1 (%2).</source>
        <translation>Unknown host %1 (%2).</translation>
    </message>
    <message>
        <source>Brak połączenia z %1 (brak trasy albo upłynął czas).</source>
        <translation>No connection to %1 (no route, or timed out).</translation>
    </message>
    <message>
        <source>Serwer %1 odpowiedział błędem i zamknął połączenie.</source>
        <translation>Server %1 answered with an error and closed the connection.</translation>
    </message>
    <message>
        <source>Serwer %1 odpowiedział: %2</source>
        <translation>Server %1 answered: %2</translation>
    </message>
    <message>
        <source>Serwer %1 zamknął połączenie zaraz po jego nawiązaniu.</source>
        <translation>Server %1 closed the connection right after it was made.</translation>
    </message>
    <message>
        <source>Połączenie z %1: %2</source>
        <translation>Connection to %1: %2</translation>
    </message>
    <message>
        <source>Nieprawidłowy adres %1: oczekiwano socket://HOST:PORT albo rfc2217://HOST:PORT.</source>
        <translation>Invalid address %1: expected socket://HOST:PORT or rfc2217://HOST:PORT.</translation>
    </message>
    <message>
        <source>Urządzenie %1 nie istnieje: adapter nie jest podłączony albo port ma inną nazwę.</source>
        <translation>Device %1 does not exist: the adapter is not plugged in, or the port has another name.</translation>
    </message>
    <message>
        <source>Urządzenie %1 jest zajęte: używa go inny program.</source>
        <translation>Device %1 is busy: another program is using it.</translation>
    </message>
    <message>
        <source>Brak uprawnień do urządzenia %1. Dodaj użytkownika %2 do grupy %3 (sudo adduser %2 %3), a potem wyloguj się i zaloguj ponownie.</source>
        <translation>No permission to use device %1. Add user %2 to group %3 (sudo adduser %2 %3), then log out and log in again.</translation>
    </message>
    <message>
        <source>Urządzenie %1: %2</source>
        <translation>Device %1: %2</translation>
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
    <message>
        <source>Fhaslo_nowe</source>
        <translation>New password</translation>
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
        <translation>Lost</translation>
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
    <message>
        <source>Odczyt</source>
        <comment>the settings from the controller</comment>
        <translation>Read from the controller</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <comment>the settings to the controller</comment>
        <translation>Write to the controller</translation>
    </message>
</context>
<context>
    <name>VaConst</name>
    <message>
        <source>Can&apos;t perform this operation while port is open</source>
        <translation>Can&apos;t perform this operation while port is open</translation>
    </message>
    <message>
        <source>Error writing dcb (%d), %s</source>
        <translation>Error writing dcb (%d), %s</translation>
    </message>
    <message>
        <source>Error initializing buffers (%d), %s</source>
        <translation>Error initializing buffers (%d), %s</translation>
    </message>
    <message>
        <source>Error setting timeouts (%d), %s</source>
        <translation>Error setting timeouts (%d), %s</translation>
    </message>
    <message>
        <source> Error setting EventMask (%d), %s</source>
        <translation> Error setting EventMask (%d), %s</translation>
    </message>
    <message>
        <source>Error calling comm function (%d), %s</source>
        <translation>Error calling comm function (%d), %s</translation>
    </message>
    <message>
        <source>DTR line updates not allowed when flowcontrol is set to Handshake.</source>
        <translation>DTR line updates not allowed when flowcontrol is set to Handshake.</translation>
    </message>
    <message>
        <source>RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.</source>
        <translation>RTS line updates not allowed when flowcontrol is set to Handshake or Toggle.</translation>
    </message>
    <message>
        <source>Output buffer is full. Please check comm status.</source>
        <translation>Output buffer is full. Please check comm status.</translation>
    </message>
    <message>
        <source>Write error (%d), %s</source>
        <translation>Write error (%d), %s</translation>
    </message>
    <message>
        <source>Read error (%d), %s</source>
        <translation>Read error (%d), %s</translation>
    </message>
    <message>
        <source>Error retrieving statistics (%d), %s</source>
        <translation>Error retrieving statistics (%d), %s</translation>
    </message>
    <message>
        <source>Cannot open the serial device (%d), %s</source>
        <translation>Cannot open the serial device (%d), %s</translation>
    </message>
</context>
<context>
    <name>VaOsNet</name>
    <message>
        <source>The server refused the line</source>
        <translation>The server refused the line</translation>
    </message>
    <message>
        <source>The server closed the connection</source>
        <translation>The server closed the connection</translation>
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
                         option the TQ3_LANG variable, and without that the
                         system&apos;s languages
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
        <translation>See: tq3 --help</translation>
    </message>
    <message>
        <source>Nieznany język w zmiennej TQ3_LANG: %1 (pl albo en); język systemu</source>
        <translation>Unknown language in TQ3_LANG: %1 (pl or en); the system&apos;s language</translation>
    </message>
</context>
<context>
    <name>tq3ctl</name>
    <message>
        <source>[-p PORT] [-P HASŁO] </source>
        <translation>[-p PORT] [-P PASSWORD] </translation>
    </message>
    <message>
        <source>Lista portów jak w oknie programu: COM1..COM8 (/dev/ttyS0..7), potem urządzenia
szeregowe obecne w systemie pod stałymi nazwami (każdą z nich przyjmuje -p), na końcu
ostatnio otwarte linie sieciowe.
Wiersz: nazwa, urządzenie, producent, opis, numer seryjny, rozdzielone tabulatorem.
</source>
        <translation>The ports as the program&apos;s window lists them: COM1..COM8 (/dev/ttyS0..7), then the serial
devices present in the system under their stable names (-p takes any of them), last the
recently opened network lines.
A line: name, device, manufacturer, description, serial number, separated by tabs.
</translation>
    </message>
    <message>
        <source>[--json] [--watch]</source>
        <translation>[--json] [--watch]</translation>
    </message>
    <message>
        <source>Stan sterownika: wersja, modem GSM, sygnał, liczniki, temperatura, napięcia.
  --json   jako obiekt JSON (z --watch: jeden wiersz JSON na odczyt)
  --watch  odczyt co 1,5 s, aż do Ctrl+C (kończy się kodem 0)
</source>
        <translation>The controller&apos;s status: version, GSM modem, signal, counters, temperature, voltages.
  --json   as a JSON object (with --watch: one JSON line per reading)
  --watch  reads every 1.5 s until Ctrl+C (ends with code 0)
</translation>
    </message>
    <message>
        <source>PLIK.tcf</source>
        <translation>FILE.tcf</translation>
    </message>
    <message>
        <source>Odczytuje dwadzieścia ustawień sterownika do pliku konfiguracji, bajt w bajt takiego,
jaki zapisuje okno programu; w polu hasła plik ma hasło użyte do logowania.
Nowy plik jest czytelny tylko dla właściciela.
</source>
        <translation>Reads the controller&apos;s twenty settings into a configuration file, byte for byte the same
as the program&apos;s window saves; its password field holds the password used to log in.
The new file is readable by its owner only.
</translation>
    </message>
    <message>
        <source>Zapisuje ustawienia z pliku konfiguracji do sterownika, potem odczytuje je i porównuje.
Plik jest sprawdzany przed wysłaniem czegokolwiek. Gdy zapis się przerwie, tq3ctl podaje
ustawienie, na którym stanął: wcześniejsze są już w sterowniku, to i dalsze nie.
Hasło zapisane w pliku nie jest używane. Ctrl+C nie przerywa zapisu.
</source>
        <translation>Writes the settings of a configuration file to the controller, then reads them back and compares.
The file is checked before anything is sent. If the write stops, tq3ctl names the setting
it stopped at: the ones before it are in the controller, that one and the rest are not.
The password stored in the file is not used. Ctrl+C does not stop the write.
</translation>
    </message>
    <message>
        <source>Ustawienia, którymi sterownik różni się od pliku konfiguracji (kod 1, gdy są takie).
</source>
        <translation>The settings in which the controller differs from the configuration file (code 1 if any).
</translation>
    </message>
    <message>
        <source>PLIK.tcf [--json]</source>
        <translation>FILE.tcf [--json]</translation>
    </message>
    <message>
        <source>Plik konfiguracji w czytelnej postaci; sterownik nie jest potrzebny.
  --json   jako obiekt JSON
</source>
        <translation>The configuration file in readable form; no controller is needed.
  --json   as a JSON object
</translation>
    </message>
    <message>
        <source>[-o PLIK.txt] [--csv|--csv-pl] [--plot WYKRES]</source>
        <translation>[-o FILE.txt] [--csv|--csv-pl] [--plot CHART]</translation>
    </message>
    <message>
        <source>Pobiera historię temperatury i zdarzeń ze sterownika i wypisuje jej wiersze.
  -o, --output PLIK  zapisuje do pliku zamiast na wyjście; bez --csv plik jest bajt w bajt
                     taki, jaki zapisuje okno programu (Windows-1250, CR LF)
  --csv              kolumny timestamp,event,temperature (UTF-8)
  --csv-pl           CSV dla polskiego arkusza: UTF-8 ze znacznikiem BOM, pola rozdzielone
                     &quot;;&quot;, przecinek dziesiętny, CR LF, jeden wiersz nagłówka
  --plot WYKRES      zapisuje też wykres pobranej historii (.png, .svg albo .pdf)
  --size SZERxWYS    rozmiar wykresu w pikselach (domyślnie 1754x1240: A4 poziomo, 150 dpi)
  --config PLIK.tcf  granice alarmu i odstęp zapisu na wykresie, z pliku konfiguracji
Ctrl+C zatrzymuje pobieranie (sterownik dostaje żądanie zatrzymania).
</source>
        <translation>Downloads the temperature and event history from the controller and prints its lines.
  -o, --output FILE  writes to the file instead of standard output; without --csv the file is byte
                     for byte what the program&apos;s window saves (Windows-1250, CR LF)
  --csv              columns timestamp,event,temperature (UTF-8)
  --csv-pl           CSV for Polish spreadsheets: UTF-8 with a BOM, fields separated by
                     &quot;;&quot;, decimal comma, CR LF, one header line
  --plot CHART       also saves a chart of the downloaded history (.png, .svg or .pdf)
  --size WxH         the chart&apos;s size in pixels (default 1754x1240: A4 landscape, 150 dpi)
  --config FILE.tcf  alarm limits and logging interval on the chart, from a configuration file
Ctrl+C stops the download (the controller is asked to stop).
</translation>
    </message>
    <message>
        <source>Kasuje historię zapisaną w sterowniku.
</source>
        <translation>Erases the history stored in the controller.
</translation>
    </message>
    <message>
        <source>Ustawia zegar sterownika według czasu lokalnego komputera.
</source>
        <translation>Sets the controller&apos;s clock to the computer&apos;s local time.
</translation>
    </message>
    <message>
        <source>Restartuje sterownik. Sesja kończy się z restartem, bez wylogowania.
</source>
        <translation>Restarts the controller. The session ends with the restart, without logging out.
</translation>
    </message>
    <message>
        <source>Zeruje dzienne liczniki SMS i połączeń.
</source>
        <translation>Resets the daily SMS and call counters.
</translation>
    </message>
    <message>
        <source>NOWE</source>
        <translation>NEW</translation>
    </message>
    <message>
        <source>Zmienia hasło dostępu sterownika na NOWE. Okno programu przyjmuje tylko cztery cyfry.
</source>
        <translation>Changes the controller&apos;s access password to NEW. The program&apos;s window takes four digits only.
</translation>
    </message>
    <message>
        <source>PLIK.tfr</source>
        <translation>FILE.tfr</translation>
    </message>
    <message>
        <source>Wgrywa firmware z pliku przez bootloader sterownika (restart, bloki po 128 bajtów,
polecenie zamykające). Nie wyłączaj sterownika z zasilania w trakcie. Ctrl+C nie
przerywa wgrywania. Sesja kończy się z restartem, bez wylogowania.
</source>
        <translation>Uploads firmware from the file through the controller&apos;s bootloader (restart, blocks of 128
bytes, closing command). Do not power off the controller meanwhile. Ctrl+C does not
stop the upload. The session ends with the restart, without logging out.
</translation>
    </message>
    <message>
        <source>ZAPISANA -o WYKRES [--size SZERxWYS] [--config PLIK.tcf]</source>
        <translation>SAVED -o CHART [--size WxH] [--config FILE.tcf]</translation>
    </message>
    <message>
        <source>Rysuje wykres zapisanej historii bez sterownika: plik historii (okna programu albo
tq3ctl history -o) albo CSV (--csv, --csv-pl). Wiersze, które nie są rekordami, są pomijane
i zliczane.
  -o, --output WYKRES  plik wykresu: .png, .svg albo .pdf, według rozszerzenia
  --size SZERxWYS      rozmiar w pikselach (domyślnie 1754x1240: A4 poziomo, 150 dpi)
  --config PLIK.tcf    granice alarmu temperatury i odstęp zapisu, z pliku konfiguracji
</source>
        <translation>Draws a chart of a saved history without a controller: a history file (saved by the program&apos;s
window or by tq3ctl history -o) or CSV (--csv, --csv-pl). Lines that are not records are
skipped and counted.
  -o, --output CHART  the chart&apos;s file: .png, .svg or .pdf, by its extension
  --size WxH          size in pixels (default 1754x1240: A4 landscape, 150 dpi)
  --config FILE.tcf   temperature alarm limits and logging interval, from a configuration file
</translation>
    </message>
    <message>
        <source>Opcje:
  -p, --port PORT         COM1..COM8, ścieżka urządzenia (np. /dev/serial/by-id/...) albo
                          linia sieciowa: socket://HOST:PORT (surowe TCP, np. konwerter
                          szeregowo-Ethernet) lub rfc2217://HOST:PORT (Telnet RFC 2217,
                          np. ser2net); HOST to nazwa, IPv4 albo [IPv6]. Sieć przenosi
                          hasło i ustawienia jawnie: tylko w zaufanej sieci albo przez
                          tunel SSH. Bez -p port ze zmiennej TQ3_PORT
  -P, --password HASŁO    hasło dostępu; bez -P ze zmiennej TQ3_PASSWORD, a gdy i jej
                          brak, a wejście jest terminalem, tq3ctl pyta o nie (bez echa)
  -q, --quiet             bez paska postępu i komunikatów informacyjnych
  -v, --verbose           ślad pracy na standardowym wyjściu błędów: port, sieć, każda
                          wysłana i odebrana ramka (to samo daje QT_LOGGING_RULES=&quot;tq3.*.debug=true&quot;)
      --lang pl|en        język komunikatów: polski albo angielski; bez tej opcji
                          zmienna TQ3_LANG, a bez niej języki systemu
  -h, --help              pomoc; tq3ctl POLECENIE --help: pomoc polecenia
      --version           wersja programu
</source>
        <translation>Options:
  -p, --port PORT         COM1..COM8, a device path (e.g. /dev/serial/by-id/...) or a
                          network line: socket://HOST:PORT (raw TCP, e.g. a serial to
                          Ethernet converter) or rfc2217://HOST:PORT (Telnet RFC 2217,
                          e.g. ser2net); HOST is a name, IPv4 or [IPv6]. The network
                          carries the password and settings in clear text: use a trusted
                          network or an SSH tunnel only. Without -p the port is taken
                          from TQ3_PORT
  -P, --password PASSWORD the access password; without -P taken from TQ3_PASSWORD, and
                          if that is unset too and the input is a terminal, tq3ctl asks
                          for it (no echo)
  -q, --quiet             no progress bar and no information messages
  -v, --verbose           a trace of the work on standard error: port, network, every frame
                          sent and received (QT_LOGGING_RULES=&quot;tq3.*.debug=true&quot; does the same)
      --lang pl|en        language of the messages: Polish or English; without this option
                          the TQ3_LANG variable, and without that the system&apos;s languages
  -h, --help              help; tq3ctl COMMAND --help: the command&apos;s help
      --version           the program&apos;s version
</translation>
    </message>
    <message>
        <source>Kody wyjścia:
  0    powodzenie
  1    diff: sterownik różni się od pliku
  2    błędne wywołanie (polecenie, opcje, hasło)
  3    port niedostępny
  4    brak odpowiedzi sterownika
  5    błędne hasło
  6    plik odrzucony: brak, nieczytelny, nie tego rodzaju, uszkodzony
       albo z ustawieniem, którego nie da się zapisać
  7    weryfikacja zapisu nieudana
  8    nie udało się zapisać pliku wynikowego
  9    historia niepełna: mniej rekordów, niż sterownik zapowiedział
  130  przerwane (Ctrl+C)
</source>
        <translation>Exit codes:
  0    success
  1    diff: the controller differs from the file
  2    wrong usage (command, options, password)
  3    port not available
  4    no answer from the controller
  5    wrong password
  6    file refused: missing, unreadable, of the wrong kind, damaged
       or with a setting that cannot be written
  7    write verification failed
  8    the output file could not be written
  9    history incomplete: fewer records than the controller announced
  130  interrupted (Ctrl+C)
</translation>
    </message>
    <message>
        <source>Hasło zawiera znak spoza strony kodowej 1250</source>
        <translation>The password has a character outside code page 1250</translation>
    </message>
    <message>
        <source>Hasło jest za długie (najwyżej %1 znaków)</source>
        <translation>The password is too long (%1 characters at most)</translation>
    </message>
    <message>
        <source>Użycie: %1</source>
        <translation>Usage: %1</translation>
    </message>
    <message>
        <source>Kody wyjścia i zmienne środowiska: tq3ctl --help</source>
        <translation>Exit codes and environment variables: tq3ctl --help</translation>
    </message>
    <message>
        <source>Użycie: tq3ctl [-p PORT] [-P HASŁO] [-q] POLECENIE [ARGUMENTY]
Sterownik TQ-3 z wiersza poleceń, przez port szeregowy (4800 8N1).

Polecenia:
</source>
        <translation>Usage: tq3ctl [-p PORT] [-P PASSWORD] [-q] COMMAND [ARGUMENTS]
The TQ-3 controller from the command line, over a serial port (4800 8N1).

Commands:
</translation>
    </message>
    <message>
        <source>Zmienne środowiska:
  TQ3_PORT       port, gdy nie podano -p
  TQ3_PASSWORD   hasło, gdy nie podano -P
  TQ3_LANG       język (pl albo en), gdy nie podano --lang
</source>
        <translation>Environment variables:
  TQ3_PORT       the port, when -p is not given
  TQ3_PASSWORD   the password, when -P is not given
  TQ3_LANG       the language (pl or en), when --lang is not given
</translation>
    </message>
    <message>
        <source>Opcja %1 wymaga wartości</source>
        <translation>Option %1 needs a value</translation>
    </message>
    <message>
        <source>Nieznany język: %1 (pl albo en)</source>
        <translation>Unknown language: %1 (pl or en)</translation>
    </message>
    <message>
        <source>Rozmiar wykresu: oczekiwano SZERxWYS, od %1 do %2 pikseli, np. 1600x900</source>
        <translation>Chart size: expected WxH, %1 to %2 pixels, e.g. 1600x900</translation>
    </message>
    <message>
        <source>Nieznana opcja: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Nieznane polecenie: %1</source>
        <translation>Unknown command: %1</translation>
    </message>
    <message>
        <source>Nie podano polecenia</source>
        <translation>No command given</translation>
    </message>
    <message>
        <source>Polecenie %1 nie przyjmuje argumentów</source>
        <translation>Command %1 takes no arguments</translation>
    </message>
    <message>
        <source>Nowe hasło: %1</source>
        <translation>New password: %1</translation>
    </message>
    <message>
        <source>Pusta nazwa pliku</source>
        <translation>Empty file name</translation>
    </message>
    <message>
        <source>Opcja %1 nie dotyczy polecenia %2</source>
        <translation>Option %1 does not apply to command %2</translation>
    </message>
    <message>
        <source>Opcje --csv i --csv-pl wykluczają się</source>
        <translation>Options --csv and --csv-pl cannot be used together</translation>
    </message>
    <message>
        <source>Polecenie plot wymaga -o WYKRES</source>
        <translation>Command plot needs -o CHART</translation>
    </message>
    <message>
        <source>Wykres: rozszerzenie .png, .svg albo .pdf (%1)</source>
        <translation>Chart: the extension must be .png, .svg or .pdf (%1)</translation>
    </message>
    <message>
        <source>Nie podano portu: -p PORT albo zmienna TQ3_PORT</source>
        <translation>No port given: -p PORT or the TQ3_PORT variable</translation>
    </message>
</context>
<context>
    <name>tq3ctl::Commands</name>
    <message>
        <source>„%1”</source>
        <extracomment>A setting&apos;s name or value quoted in a message.</extracomment>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>Zly format pliku</source>
        <translation>Wrong file format</translation>
    </message>
    <message>
        <source>Plik nie zawiera obrazu firmware</source>
        <translation>The file holds no firmware image</translation>
    </message>
    <message>
        <source>%1: Błąd zapisu (nie ma takiego folderu)</source>
        <translation>%1: Write error (no such folder)</translation>
    </message>
    <message>
        <source>%1: Błąd zapisu</source>
        <translation>%1: Write error</translation>
    </message>
    <message>
        <source>%1: nie można otworzyć pliku</source>
        <translation>%1: cannot open the file</translation>
    </message>
    <message>
        <source>%1: brak rekordów historii</source>
        <translation>%1: no history records</translation>
    </message>
    <message>
        <source>%1: pominięto wiersze, które nie są rekordami historii: %2</source>
        <translation>%1: lines skipped that are not history records: %2</translation>
    </message>
    <message>
        <source>Brak odpowiedzi z TQ-3</source>
        <translation>No answer from the TQ-3</translation>
    </message>
    <message>
        <source>Pobieram konfiguracje nadajnika</source>
        <translation>Reading the controller&apos;s settings</translation>
    </message>
    <message>
        <source>Odczyt przerwany na ustawieniu %1</source>
        <translation>Reading stopped at setting %1</translation>
    </message>
    <message>
        <source>Wysyłam konfiguracje do nadajnika</source>
        <translation>Writing the settings to the controller</translation>
    </message>
    <message>
        <source>Zapis przerwany na ustawieniu %1: ustawienia przed nim są już w sterowniku, ono i dalsze nie</source>
        <translation>Writing stopped at setting %1: the settings before it are in the controller, it and the rest are not</translation>
    </message>
    <message>
        <source>Sprawdzam konfiguracje nadajnika</source>
        <translation>Checking the controller&apos;s settings</translation>
    </message>
    <message>
        <source>Odczyt kontrolny przerwany na ustawieniu %1: zapis nie został sprawdzony</source>
        <translation>Verification read stopped at setting %1: the write was not verified</translation>
    </message>
    <message>
        <source>Weryfikacja nieudana: %1: w pliku %2, w sterowniku %3</source>
        <translation>Verification failed: %1: %2 in the file, %3 in the controller</translation>
    </message>
    <message>
        <source>Pobieram historie</source>
        <translation>Downloading the history</translation>
    </message>
    <message>
        <source>Pominięto rekordy bez poprawnej daty: %1</source>
        <translation>Records skipped without a valid date: %1</translation>
    </message>
    <message>
        <source>NIE WYŁĄCZAJ TQ-3 Z ZASILANIA</source>
        <translation>DO NOT SWITCH THE TQ-3 OFF</translation>
    </message>
    <message>
        <source>Aktualizacja firmware</source>
        <translation>Firmware update</translation>
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
        <source>Historia temperatury skasowana</source>
        <translation>Temperature history erased</translation>
    </message>
    <message>
        <source>Okno programu przyjmuje tylko hasło z czterech cyfr</source>
        <translation>The program&apos;s window takes only a password of four digits</translation>
    </message>
    <message>
        <source>Hasło zmienione</source>
        <translation>Password changed</translation>
    </message>
    <message>
        <source>Nie podano hasła: -P HASŁO albo zmienna TQ3_PASSWORD</source>
        <translation>No password given: -P PASSWORD or the TQ3_PASSWORD variable</translation>
    </message>
    <message>
        <source>Hasło: </source>
        <translation>Password: </translation>
    </message>
    <message>
        <source>Nieznany język w zmiennej TQ3_LANG: %1 (pl albo en); język systemu</source>
        <translation>Unknown language in TQ3_LANG: %1 (pl or en); using the system&apos;s language</translation>
    </message>
    <message>
        <source>Więcej: %1</source>
        <translation>See: %1</translation>
    </message>
</context>
<context>
    <name>tq3ctl::Device</name>
    <message>
        <source>Port COM niedostępny</source>
        <translation>COM port not available</translation>
    </message>
    <message>
        <source>Port COM niedostępny (%1)</source>
        <translation>COM port not available (%1)</translation>
    </message>
    <message>
        <source>Błędne hasło</source>
        <translation>Wrong password</translation>
    </message>
</context>
<context>
    <name>tq3ctl::Output</name>
    <message>
        <source>niska</source>
        <translation>low</translation>
    </message>
    <message>
        <source>wysoka</source>
        <translation>high</translation>
    </message>
    <message>
        <source>w normie</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>Hasło dostępu</source>
        <translation>Access password</translation>
    </message>
    <message>
        <source>  plik:      %1
</source>
        <extracomment>The file&apos;s value; its colon and blanks line up with the controller&apos;s line below.</extracomment>
        <translation>  file:       %1
</translation>
    </message>
    <message>
        <source>  sterownik: %1
</source>
        <extracomment>The controller&apos;s value; lines up with the file&apos;s line above.</extracomment>
        <translation>  controller: %1
</translation>
    </message>
    <message>
        <source>Wersja</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>etap %1</source>
        <extracomment>The modem&apos;s start-up stage, by its number when the controller&apos;s stage has no name.</extracomment>
        <translation>stage %1</translation>
    </message>
    <message>
        <source>Modem GSM</source>
        <translation>GSM modem</translation>
    </message>
    <message>
        <source>Sygnał GSM</source>
        <translation>GSM signal</translation>
    </message>
    <message>
        <source>%1 z 20</source>
        <translation>%1 of 20</translation>
    </message>
    <message>
        <source>Zdarzenia</source>
        <extracomment>Events waiting to be sent.</extracomment>
        <translation>Events</translation>
    </message>
    <message>
        <source>SMS (24h)</source>
        <translation>SMS (24h)</translation>
    </message>
    <message>
        <source>Połączenia (24h)</source>
        <translation>Calls (24h)</translation>
    </message>
    <message>
        <source>Aktualna temperatura</source>
        <translation>Current temperature</translation>
    </message>
    <message>
        <source> (za niskie)</source>
        <translation> (too low)</translation>
    </message>
    <message>
        <source>Zasilacz 5V</source>
        <translation>5V supply</translation>
    </message>
    <message>
        <source>Bateria</source>
        <translation>Battery</translation>
    </message>
</context>
</TS>
