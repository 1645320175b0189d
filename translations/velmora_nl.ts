<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="en">
<context>
    <name>MainWindow</name>
    <message>
        <source>Roll preview</source>
        <translation>Afbeelding van de rol</translation>
    </message>
    <message>
        <source>Velmora - Punch control program for serial port      version 3.5</source>
        <translation>Velmora - Ponsbesturingsprogramma voor seriële poort      versie 3.5</translation>
    </message>
    <message>
        <source>    File    </source>
        <translation>    Bestand    </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Openen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>Settings      </source>
        <translation>Instellingen      </translation>
    </message>
    <message>
        <source>Tools    </source>
        <translation>Gereedschap    </translation>
    </message>
    <message>
        <source>Extras    </source>
        <translation>Extra    </translation>
    </message>
    <message>
        <source>Job history</source>
        <translation>Opdrachtgeschiedenis</translation>
    </message>
    <message>
        <source>Extra settings</source>
        <translation>Extra instellingen</translation>
    </message>
    <message>
        <source>  Help</source>
        <translation>  Help</translation>
    </message>
</context>
<context>
    <name>velmora::ExtraSettingsDialog</name>
    <message>
        <source>Extra settings</source>
        <translation>Extra instellingen</translation>
    </message>
    <message>
        <source>Commands run when a job ends</source>
        <translation>Programma&apos;s bij het einde van een opdracht</translation>
    </message>
    <message>
        <source>Roll completed</source>
        <translation>Rol voltooid</translation>
    </message>
    <message>
        <source>Stopped with Stop</source>
        <translation>Gestopt met Stop</translation>
    </message>
    <message>
        <source>Stopped by the controller</source>
        <translation>Gestopt door de besturing</translation>
    </message>
    <message>
        <source>Port lost, job paused</source>
        <translation>Poort weg, opdracht gepauzeerd</translation>
    </message>
    <message>
        <source>A program and its arguments, run without a shell. Put an argument with blanks in double quotes. In the arguments, %event, %roll, %name, %hole, %holes and %sent stand for the job&apos;s facts; they are in VELMORA_EVENT, VELMORA_ROLL, ... too. Leave a line empty to run nothing.</source>
        <translation>Een programma met zijn argumenten, gestart zonder shell. Zet een argument met spaties tussen dubbele aanhalingstekens. In de argumenten staan %event, %roll, %name, %hole, %holes en %sent voor de gegevens van de opdracht; die staan ook in VELMORA_EVENT, VELMORA_ROLL, ... Laat een regel leeg om niets te starten.</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Venster</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Taal</translation>
    </message>
    <message>
        <source>As the desktop</source>
        <translation>Zoals het bureaublad</translation>
    </message>
    <message>
        <source>Applies at the next start.</source>
        <translation>Geldt vanaf de volgende start.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Kept in %1</source>
        <translation>Bewaard in %1</translation>
    </message>
    <message>
        <source>Remote view</source>
        <translation>Meekijken op afstand</translation>
    </message>
    <message>
        <source>These controls act at once; OK and Cancel concern the commands and the language above only.</source>
        <translation>Deze knoppen werken meteen; OK en Annuleren gelden alleen voor de programma&apos;s en de taal hierboven.</translation>
    </message>
</context>
<context>
    <name>velmora::FileDialogChooser</name>
    <message>
        <source>Open PRT File</source>
        <translation>PRT-bestand openen</translation>
    </message>
    <message>
        <source>PRT files (*.prt *.PRT)</source>
        <translation>PRT-bestanden (*.prt *.PRT)</translation>
    </message>
</context>
<context>
    <name>velmora::FormatEditor</name>
    <message>
        <source>User format</source>
        <translation>Eigen formaat</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Veld</translation>
    </message>
    <message>
        <source>Field length</source>
        <translation>Veldlengte</translation>
    </message>
    <message>
        <source>Field length (output)</source>
        <translation>Veldlengte (uitvoer)</translation>
    </message>
    <message>
        <source>Add field to format</source>
        <translation>Veld toevoegen</translation>
    </message>
    <message>
        <source>Remove last field</source>
        <translation>Laatste veld weghalen</translation>
    </message>
    <message>
        <source>Store format</source>
        <translation>Formaat opslaan</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>variable</source>
        <translation>variabel</translation>
    </message>
</context>
<context>
    <name>velmora::FormatTable</name>
    <message>
        <source>User format</source>
        <translation>Eigen formaat</translation>
    </message>
</context>
<context>
    <name>velmora::HistoryPresenter</name>
    <message>
        <source>Exported to %1</source>
        <translation>Geëxporteerd naar %1</translation>
    </message>
    <message>
        <source>Not exported (%1): %2</source>
        <translation>Niet geëxporteerd (%1): %2</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV exporteren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-bestanden (*.csv)</translation>
    </message>
    <message>
        <source>Exporting to %1</source>
        <translation>Exporteren naar %1</translation>
    </message>
</context>
<context>
    <name>velmora::HistoryTableModel</name>
    <message>
        <source>running</source>
        <translation>bezig</translation>
    </message>
    <message>
        <source>completed</source>
        <translation>voltooid</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>gestopt</translation>
    </message>
    <message>
        <source>controller-stop</source>
        <translation>gestopt door besturing</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>onderbroken</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Begonnen</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>Geëindigd</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>Rol</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Holes</source>
        <translation>Gaten</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Eerste</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Laatste</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Verzonden</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Seconden</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Afloop</translation>
    </message>
</context>
<context>
    <name>velmora::HistoryWindow</name>
    <message>
        <source>Job history</source>
        <translation>Opdrachtgeschiedenis</translation>
    </message>
    <message>
        <source>Jobs</source>
        <translation>Opdrachten</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV exporteren</translation>
    </message>
</context>
<context>
    <name>velmora::JobControlsPanel</name>
    <message>
        <source>Punch control</source>
        <translation>Ponsbesturing</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Logboek</translation>
    </message>
    <message>
        <source>Open port</source>
        <translation>Poort openen</translation>
    </message>
    <message>
        <source>Port open lamp</source>
        <translation>Lampje poort open</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pauze</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Hervatten</translation>
    </message>
    <message>
        <source>1 punch</source>
        <translation>1 gat ponsen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>Next note is:</source>
        <translation>Volgende noot:</translation>
    </message>
    <message>
        <source>Next note</source>
        <translation>Volgende noot</translation>
    </message>
    <message>
        <source>Next note step</source>
        <translation>Volgende noot verschuiven</translation>
    </message>
    <message>
        <source>CTS lamp</source>
        <translation>CTS-lampje</translation>
    </message>
    <message>
        <source>Xon lamp</source>
        <translation>Xon-lampje</translation>
    </message>
    <message>
        <source>Xoff lamp</source>
        <translation>Xoff-lampje</translation>
    </message>
    <message>
        <source>Remaining time</source>
        <translation>Resterende tijd</translation>
    </message>
    <message>
        <source>Holes punched</source>
        <translation>Geponste gaten</translation>
    </message>
    <message>
        <source>Stop confirmation</source>
        <translation>Bevestiging van Stop</translation>
    </message>
    <message>
        <source>Really stop?</source>
        <translation>Echt stoppen?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nee</translation>
    </message>
</context>
<context>
    <name>velmora::JobNotice</name>
    <message>
        <source>Roll completed</source>
        <translation>Rol voltooid</translation>
    </message>
    <message>
        <source>Punching is completed, all notes punched, last note punched:%1</source>
        <translation>Ponsen voltooid, alle noten geponst, laatst geponste noot:%1</translation>
    </message>
    <message>
        <source>Punching stopped</source>
        <translation>Ponsen gestopt</translation>
    </message>
    <message>
        <source>Stop command received from punch, last note punched:%1</source>
        <translation>Stop ontvangen van de besturing, laatst geponste noot:%1</translation>
    </message>
    <message>
        <source>Punching paused</source>
        <translation>Ponsen gepauzeerd</translation>
    </message>
    <message>
        <source>Port lost, punching paused, next note:%1</source>
        <translation>Poort verdwenen, ponsen gepauzeerd, volgende noot:%1</translation>
    </message>
</context>
<context>
    <name>velmora::JobTimer</name>
    <message>
        <source>%1 sec</source>
        <translation>%1 sec</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 hrs, %2 min</source>
        <translation>%1 uur, %2 min</translation>
    </message>
    <message>
        <source>Estimated time to go: %1</source>
        <translation>Geschatte resttijd: %1</translation>
    </message>
</context>
<context>
    <name>velmora::LinkPresenter</name>
    <message>
        <source>No device present</source>
        <translation>Geen apparaat aanwezig</translation>
    </message>
</context>
<context>
    <name>velmora::OutputFormat</name>
    <message>
        <source>zeroes</source>
        <translation>nullen</translation>
    </message>
    <message>
        <source>field%1</source>
        <translation>veld%1</translation>
    </message>
    <message>
        <source>unknown code %1</source>
        <translation>onbekende code %1</translation>
    </message>
    <message>
        <source>(var)</source>
        <translation>(var)</translation>
    </message>
    <message>
        <source>(as is)</source>
        <translation>(zoals het is)</translation>
    </message>
</context>
<context>
    <name>velmora::PortController</name>
    <message>
        <source>None</source>
        <translation>Geen</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Oneven</translation>
    </message>
</context>
<context>
    <name>velmora::PortMap</name>
    <message>
        <source>no serial port is present</source>
        <translation>er is geen seriële poort</translation>
    </message>
    <message>
        <source>only 1 serial port is present</source>
        <translation>er is maar 1 seriële poort</translation>
    </message>
    <message>
        <source>only %1 serial ports are present</source>
        <translation>er zijn maar %1 seriële poorten</translation>
    </message>
    <message>
        <source>No device for %1: %2 and %3 has no line for %1</source>
        <translation>Geen apparaat voor %1: %2 en %3 heeft geen regel voor %1</translation>
    </message>
    <message>
        <source>There is no port number %1</source>
        <translation>Er is geen poortnummer %1</translation>
    </message>
</context>
<context>
    <name>velmora::PrtReader</name>
    <message>
        <source>not a regular file</source>
        <translation>geen gewoon bestand</translation>
    </message>
    <message>
        <source>cannot read the file from its start</source>
        <translation>het bestand kan niet vanaf het begin gelezen worden</translation>
    </message>
</context>
<context>
    <name>velmora::PunchJob</name>
    <message>
        <source>Punching stopped</source>
        <translation>Ponsen gestopt</translation>
    </message>
</context>
<context>
    <name>velmora::RemotePanel</name>
    <message>
        <source>Show the running roll on a phone (remote view)</source>
        <translation>De lopende rol op een telefoon tonen (meekijken op afstand)</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Poort</translation>
    </message>
    <message>
        <source>Make a new token</source>
        <translation>Nieuwe sleutel maken</translation>
    </message>
    <message>
        <source>QR code of the address</source>
        <translation>QR-code van het adres</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Poort:</translation>
    </message>
</context>
<context>
    <name>velmora::RemoteView</name>
    <message>
        <source>The remote view is off.</source>
        <translation>Meekijken op afstand staat uit.</translation>
    </message>
    <message>
        <source>The remote view could not listen on port %1: %2</source>
        <translation>Meekijken op afstand kan niet luisteren op poort %1: %2</translation>
    </message>
    <message>
        <source>The remote view is on, at port %1.</source>
        <translation>Meekijken op afstand staat aan, op poort %1.</translation>
    </message>
</context>
<context>
    <name>velmora::RollSummary</name>
    <message>
        <source>Check if file is created corectly by Arpenta.</source>
        <translation>Controleer of het bestand goed door Arpenta is gemaakt.</translation>
    </message>
    <message>
        <source>Gamma:    %1  -  NTYPE   %2</source>
        <translation>Gamma:    %1  -  NTYPE   %2</translation>
    </message>
    <message>
        <source>Paper width: %1 mm</source>
        <translation>Papierbreedte: %1 mm</translation>
    </message>
    <message>
        <source>Roll length: %1 m</source>
        <translation>Rollengte: %1 m</translation>
    </message>
    <message>
        <source>Holes to punch:%1</source>
        <translation>Te ponsen gaten:%1</translation>
    </message>
    <message>
        <source>PRT-file has no valid NTYPE (P, A, S or C).</source>
        <translation>PRT-bestand heeft geen geldig NTYPE (P, A, S of C).</translation>
    </message>
    <message>
        <source>PRT-file has NTYPE %1 but does not have NOOT-statements.</source>
        <translation>PRT-bestand heeft NTYPE %1 maar geen NOOT-regels.</translation>
    </message>
    <message>
        <source>PRT-file has NTYPE %1 but does not have PONS-statements.</source>
        <translation>PRT-bestand heeft NTYPE %1 maar geen PONS-regels.</translation>
    </message>
    <message>
        <source>PRT-file is empty.</source>
        <translation>PRT-bestand is leeg.</translation>
    </message>
    <message>
        <source>PRT-file has more than 64000 holes.</source>
        <translation>PRT-bestand heeft meer dan 64000 gaten.</translation>
    </message>
    <message>
        <source>Velmora can punch at most 64000 holes of one roll.</source>
        <translation>Velmora ponst ten hoogste 64000 gaten van één rol.</translation>
    </message>
    <message>
        <source>PRT-file has a paper width of 0 (BAFM record).</source>
        <translation>PRT-bestand heeft papierbreedte 0 (BAFM-regel).</translation>
    </message>
    <message>
        <source>The roll cannot be shown or punched.</source>
        <translation>De rol kan niet getoond of geponst worden.</translation>
    </message>
    <message>
        <source>Error during opening file</source>
        <translation>Fout bij het openen van het bestand</translation>
    </message>
    <message>
        <source>The file name does not end in .PRT.</source>
        <translation>De bestandsnaam eindigt niet op .PRT.</translation>
    </message>
    <message>
        <source>Only PRT-files made by Arpenta can be punched.</source>
        <translation>Alleen PRT-bestanden van Arpenta kunnen geponst worden.</translation>
    </message>
</context>
<context>
    <name>velmora::SettingsPanel</name>
    <message>
        <source>Settings panel</source>
        <translation>Instellingenpaneel</translation>
    </message>
    <message>
        <source>X-calibration</source>
        <translation>X-kalibratie</translation>
    </message>
    <message>
        <source>Y-calibration</source>
        <translation>Y-kalibratie</translation>
    </message>
    <message>
        <source>X-calibration (paper)</source>
        <translation>X-kalibratie (papier)</translation>
    </message>
    <message>
        <source>Y-calibration (arm)</source>
        <translation>Y-kalibratie (arm)</translation>
    </message>
    <message>
        <source>Move roll on screen to right</source>
        <translation>Rol op het scherm naar rechts</translation>
    </message>
    <message>
        <source>Display in mirror image</source>
        <translation>In spiegelbeeld tonen</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Serial communication</source>
        <translation>Seriële communicatie</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Poort</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Databits</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stopbits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Pariteit</translation>
    </message>
    <message>
        <source>Standard values</source>
        <translation>Standaardwaarden</translation>
    </message>
    <message>
        <source>Baud</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>Databits</source>
        <translation>Databits</translation>
    </message>
    <message>
        <source>Stopbits</source>
        <translation>Stopbits</translation>
    </message>
    <message>
        <source>DTR lamp</source>
        <translation>DTR-lampje</translation>
    </message>
    <message>
        <source>RTS lamp</source>
        <translation>RTS-lampje</translation>
    </message>
    <message>
        <source>force on</source>
        <translation>altijd aan</translation>
    </message>
    <message>
        <source>DTR force on</source>
        <translation>DTR altijd aan</translation>
    </message>
    <message>
        <source>RTS force on</source>
        <translation>RTS altijd aan</translation>
    </message>
    <message>
        <source>outgoing signals</source>
        <translation>uitgaande signalen</translation>
    </message>
    <message>
        <source>CTS lamp</source>
        <translation>CTS-lampje</translation>
    </message>
    <message>
        <source>DSR lamp</source>
        <translation>DSR-lampje</translation>
    </message>
    <message>
        <source>CD lamp</source>
        <translation>CD-lampje</translation>
    </message>
    <message>
        <source>RI lamp</source>
        <translation>RI-lampje</translation>
    </message>
    <message>
        <source>Xon lamp</source>
        <translation>Xon-lampje</translation>
    </message>
    <message>
        <source>Xoff lamp</source>
        <translation>Xoff-lampje</translation>
    </message>
    <message>
        <source>incoming signals</source>
        <translation>inkomende signalen</translation>
    </message>
    <message>
        <source>Format in use</source>
        <translation>Gebruikt formaat</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formaat</translation>
    </message>
    <message>
        <source>Edit user format</source>
        <translation>Eigen formaat bewerken</translation>
    </message>
    <message>
        <source>Select format</source>
        <translation>Kies formaat</translation>
    </message>
</context>
<context>
    <name>velmora::StatusPanel</name>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
</context>
<context>
    <name>velmora::StatusText</name>
    <message>
        <source>Xcalibration: %1</source>
        <translation>X-kalibratie: %1</translation>
    </message>
    <message>
        <source>Ycalibration: %1</source>
        <translation>Y-kalibratie: %1</translation>
    </message>
    <message>
        <source>Port: %1 (open)</source>
        <translation>Poort: %1 (open)</translation>
    </message>
    <message>
        <source>Port: %1 (closed)</source>
        <translation>Poort: %1 (dicht)</translation>
    </message>
    <message>
        <source>Baud: %1</source>
        <translation>Baud: %1</translation>
    </message>
    <message>
        <source>Parity: %1</source>
        <translation>Pariteit: %1</translation>
    </message>
    <message>
        <source>Stopbits: %1</source>
        <translation>Stopbits: %1</translation>
    </message>
</context>
<context>
    <name>velmora::ToolsPanel</name>
    <message>
        <source>Tools panel</source>
        <translation>Gereedschapspaneel</translation>
    </message>
    <message>
        <source>Test tools for the Zelvoor interface</source>
        <translation>Testgereedschap voor de Zelvoor-interface</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Arm</source>
        <translation>Arm</translation>
    </message>
    <message>
        <source>Armforewards</source>
        <translation>Arm vooruit</translation>
    </message>
    <message>
        <source>Arm forwards steps</source>
        <translation>Stappen arm vooruit</translation>
    </message>
    <message>
        <source>Arm backwards</source>
        <translation>Arm achteruit</translation>
    </message>
    <message>
        <source>Arm backwards steps</source>
        <translation>Stappen arm achteruit</translation>
    </message>
    <message>
        <source>Arm to startpos</source>
        <translation>Arm naar start</translation>
    </message>
    <message>
        <source>Arm to center</source>
        <translation>Arm naar midden</translation>
    </message>
    <message>
        <source>steps</source>
        <translation>stappen</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>Forward paper</source>
        <translation>Papier vooruit</translation>
    </message>
    <message>
        <source>Backward paper</source>
        <translation>Papier achteruit</translation>
    </message>
    <message>
        <source>Paper steps</source>
        <translation>Stappen papier</translation>
    </message>
    <message>
        <source>Activate punch</source>
        <translation>Pons activeren</translation>
    </message>
    <message>
        <source>Adjustcommand for the PIC</source>
        <translation>Instelopdracht voor de PIC</translation>
    </message>
    <message>
        <source>Command code</source>
        <translation>Opdrachtcode</translation>
    </message>
    <message>
        <source>Command value</source>
        <translation>Opdrachtwaarde</translation>
    </message>
    <message>
        <source>Send command</source>
        <translation>Opdracht sturen</translation>
    </message>
    <message>
        <source>Show settings</source>
        <translation>Instellingen tonen</translation>
    </message>
    <message>
        <source>command     value</source>
        <translation>opdracht    waarde</translation>
    </message>
</context>
</TS>
