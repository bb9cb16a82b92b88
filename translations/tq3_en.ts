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
        <translation>Temperature: Normal</translation>
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
        <translation>Temperature correction</translation>
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
        <translation>Battery: Charged</translation>
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
</TS>
