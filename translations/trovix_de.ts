<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>ILRIntegratedLogReader</name>
    <message>
        <source>Log Not Supported</source>
        <translation>Protokoll nicht verfügbar</translation>
    </message>
    <message>
        <source>Displaying the log requires the trovix-log tool in the application bundle.</source>
        <translation>Zum Anzeigen des Protokolls wird das Programm trovix-log im Anwendungspaket benötigt.</translation>
    </message>
    <message>
        <source>Displaying the log requires reading the system journal, which members of the group “%1” may do. Ask an administrator to add you to that group, then log in again.</source>
        <translation>Zum Anzeigen des Protokolls muss das Systemjournal gelesen werden, was Mitglieder der Gruppe „%1“ dürfen. Bitten Sie einen Administrator, Sie in diese Gruppe aufzunehmen, und melden Sie sich dann neu an.</translation>
    </message>
    <message>
        <source>trovix-log ended with status %1</source>
        <translation>trovix-log wurde mit Status %1 beendet</translation>
    </message>
    <message>
        <source>The log cannot be read: %1</source>
        <translation>Das Protokoll kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>%1 Log</source>
        <translation>Protokoll von %1</translation>
    </message>
    <message>
        <source>Show Sender</source>
        <translation>Absender anzeigen</translation>
    </message>
    <message>
        <source>Coalesce Repeated Messages</source>
        <translation>Wiederholte Meldungen zusammenfassen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Save Log</source>
        <translation>Protokoll speichern</translation>
    </message>
    <message>
        <source>Property Lists (*.plist)</source>
        <translation>Eigenschaftslisten (*.plist)</translation>
    </message>
    <message>
        <source>Find…</source>
        <translation>Suchen …</translation>
    </message>
    <message>
        <source>%1 — Finding Older Messages…</source>
        <translation>%1 — Ältere Meldungen werden gesucht …</translation>
    </message>
</context>
<context>
    <name>ILRLogWindow</name>
    <message>
        <source>Log Tool Error</source>
        <translation>Fehler des Protokollprogramms</translation>
    </message>
    <message>
        <source>Debug Logging</source>
        <translation>Debug-Protokollierung</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Find Earlier Messages</source>
        <translation>Frühere Meldungen suchen</translation>
    </message>
    <message>
        <source>Finding Older Messages</source>
        <translation>Ältere Meldungen werden gesucht</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Speichern …</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
</context>
<context>
    <name>QXHotKeyClearButton</name>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>QXHotKeyTextView</name>
    <message>
        <source>In use by another program</source>
        <translation>Von einem anderen Programm belegt</translation>
    </message>
    <message>
        <source>Not available with this keyboard</source>
        <translation>Mit dieser Tastatur nicht verfügbar</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>QXLoginItemSwitch</name>
    <message>
        <source>Start Trovix when you log in</source>
        <translation>Trovix bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Trovix could not be set to start when you log in.</source>
        <translation>Trovix konnte nicht so eingestellt werden, dass es bei der Anmeldung startet.</translation>
    </message>
    <message>
        <source>Trovix could not be kept from starting when you log in.</source>
        <translation>Trovix konnte nicht davon abgehalten werden, bei der Anmeldung zu starten.</translation>
    </message>
</context>
<context>
    <name>QXMainPreferencesWindow</name>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Aktualisierungen</translation>
    </message>
    <message>
        <source>Open the menu with a right click while holding</source>
        <translation>Menü per Rechtsklick öffnen bei gedrückter Taste</translation>
    </message>
    <message>
        <source>Super</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Strg</translation>
    </message>
    <message>
        <source>Fn</source>
        <translation>Fn</translation>
    </message>
    <message>
        <source>Right click:</source>
        <translation>Rechtsklick:</translation>
    </message>
    <message>
        <source>Hold Shift as well to get the menus of all applications.</source>
        <translation>Halten Sie zusätzlich die Umschalttaste gedrückt, um die Menüs aller Anwendungen zu erhalten.</translation>
    </message>
    <message>
        <source>Active application:</source>
        <translation>Aktive Anwendung:</translation>
    </message>
    <message>
        <source>All applications:</source>
        <translation>Alle Anwendungen:</translation>
    </message>
    <message>
        <source>Hot keys:</source>
        <translation>Tastenkürzel:</translation>
    </message>
    <message>
        <source>Click a field, then press the keys. The keys open the menu from any application.</source>
        <translation>Klicken Sie in ein Feld und drücken Sie dann die Tasten. Diese Tasten öffnen das Menü in jeder Anwendung.</translation>
    </message>
    <message>
        <source>Open this window at launch</source>
        <translation>Dieses Fenster beim Start öffnen</translation>
    </message>
    <message>
        <source>At launch:</source>
        <translation>Beim Start:</translation>
    </message>
    <message>
        <source>When off, the window still opens if no way to the menu is set up.</source>
        <translation>Ist dies ausgeschaltet, öffnet sich das Fenster trotzdem, solange kein Weg zum Menü eingerichtet ist.</translation>
    </message>
    <message>
        <source>At login:</source>
        <translation>Bei der Anmeldung:</translation>
    </message>
    <message>
        <source>Window in the taskbar</source>
        <translation>Fenster in der Taskleiste</translation>
    </message>
    <message>
        <source>Icon in the tray</source>
        <translation>Symbol im Infobereich</translation>
    </message>
    <message>
        <source>No icon</source>
        <translation>Kein Symbol</translation>
    </message>
    <message>
        <source>Trovix now runs without an icon. Its own menu is at the end of every pop-up menu, and starting Trovix again opens this window.</source>
        <translation>Trovix läuft jetzt ohne Symbol. Sein eigenes Menü steht am Ende jedes Aufklappmenüs, und ein erneuter Start von Trovix öffnet dieses Fenster.</translation>
    </message>
    <message>
        <source>Show Trovix as:</source>
        <translation>Trovix anzeigen als:</translation>
    </message>
    <message>
        <source>Show keyboard shortcuts</source>
        <translation>Tastenkürzel anzeigen</translation>
    </message>
    <message>
        <source>Show alternate items as ordinary items</source>
        <translation>Alternative Einträge als gewöhnliche Einträge anzeigen</translation>
    </message>
    <message>
        <source>Follow the active application, also without a menu bar</source>
        <translation>Der aktiven Anwendung folgen, auch ohne Menüleiste</translation>
    </message>
    <message>
        <source>Put the window menu at the end</source>
        <translation>Fenstermenü ans Ende stellen</translation>
    </message>
    <message>
        <source>Leave out disabled items</source>
        <translation>Deaktivierte Einträge weglassen</translation>
    </message>
    <message>
        <source>Pop-up menu:</source>
        <translation>Aufklappmenü:</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Wie das System</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>Appearance:</source>
        <translation>Erscheinungsbild:</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Font size:</source>
        <translation>Schriftgröße:</translation>
    </message>
    <message>
        <source>Leave out:</source>
        <translation>Weglassen:</translation>
    </message>
    <message>
        <source>Menus and applications to hide, one per line or separated by commas.</source>
        <translation>Auszublendende Menüs und Anwendungen, eine Angabe pro Zeile oder durch Kommas getrennt.</translation>
    </message>
    <message>
        <source>Load at once:</source>
        <translation>Sofort laden:</translation>
    </message>
    <message>
        <source>Clear %1</source>
        <translation>%1 leeren</translation>
    </message>
    <message>
        <source>Hot key for the active application</source>
        <translation>Tastenkürzel für die aktive Anwendung</translation>
    </message>
    <message>
        <source>Hot key for all applications</source>
        <translation>Tastenkürzel für alle Anwendungen</translation>
    </message>
    <message>
        <source>Leave out</source>
        <translation>Weglassen</translation>
    </message>
    <message>
        <source>Load at once</source>
        <translation>Sofort laden</translation>
    </message>
    <message>
        <source>Menus to read in full before the menu opens, as &quot;Application &gt; Menu&quot;, one per line. An application alone loads all its menus.</source>
        <translation>Menüs, die vollständig gelesen werden, bevor das Menü aufgeht, als „Anwendung &gt; Menü“, eines pro Zeile. Eine Anwendung allein lädt alle ihre Menüs.</translation>
    </message>
    <message>
        <source>This version of Trovix does not check for updates. Install new versions the way you installed this one, for instance with your distribution&apos;s package manager.</source>
        <translation type="vanished">Diese Version von Trovix sucht nicht nach Aktualisierungen. Installieren Sie neue Versionen auf demselben Weg wie diese, etwa mit der Paketverwaltung Ihrer Distribution.</translation>
    </message>
    <message>
        <source>Check Automatically</source>
        <translation>Automatisch suchen</translation>
    </message>
    <message>
        <source>Check Now...</source>
        <translation>Jetzt suchen …</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Aktualisierungen:</translation>
    </message>
    <message>
        <source>Trovix tells you when a new version is out; install it the way you installed this one.</source>
        <translation>Trovix meldet, wenn eine neue Version erschienen ist; installieren Sie sie auf demselben Weg wie diese.</translation>
    </message>
    <message>
        <source>Last result:</source>
        <translation>Letztes Ergebnis:</translation>
    </message>
    <message>
        <source>Visit Product Page</source>
        <translation>Produktseite besuchen</translation>
    </message>
    <message>
        <source>Search menus while typing</source>
        <translation>Menüs beim Tippen durchsuchen</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Suche:</translation>
    </message>
    <message>
        <source>Type in an open menu to find any of its commands. The commands you choose from the results rank higher next time.</source>
        <translation>Tippen Sie in einem offenen Menü, um jeden seiner Befehle zu finden. Befehle, die Sie aus den Ergebnissen wählen, stehen beim nächsten Mal weiter oben.</translation>
    </message>
    <message>
        <source>Hot keys work through the X server.</source>
        <translation>Tastenkürzel werden über den X-Server empfangen.</translation>
    </message>
    <message>
        <source>Hot keys are set through the desktop&apos;s global shortcuts portal; the desktop may ask you to confirm them.</source>
        <translation>Tastenkürzel werden über das Portal für globale Tastenkürzel des Desktops eingerichtet; der Desktop fragt eventuell nach Ihrer Bestätigung.</translation>
    </message>
    <message>
        <source>Hot keys are set in KDE&apos;s global shortcuts.</source>
        <translation>Tastenkürzel werden in den globalen Kurzbefehlen von KDE eingerichtet.</translation>
    </message>
    <message>
        <source>Hot keys are added to GNOME&apos;s keyboard settings once you allow it.</source>
        <translation>Tastenkürzel werden in die Tastatureinstellungen von GNOME eingetragen, sobald Sie es erlauben.</translation>
    </message>
    <message>
        <source>Hot keys are custom shortcuts in GNOME&apos;s keyboard settings.</source>
        <translation>Tastenkürzel sind eigene Tastenkombinationen in den Tastatureinstellungen von GNOME.</translation>
    </message>
    <message>
        <source>This desktop binds keys itself: add the line under each hot key to its configuration (see Help).</source>
        <translation>Dieser Desktop belegt Tasten selbst: Fügen Sie die Zeile unter jedem Tastenkürzel seiner Konfiguration hinzu (siehe Hilfe).</translation>
    </message>
    <message>
        <source>Asking the desktop how to set hot keys…</source>
        <translation>Der Desktop wird gefragt, wie Tastenkürzel eingerichtet werden …</translation>
    </message>
    <message>
        <source>This desktop offers no global hot keys.</source>
        <translation>Dieser Desktop bietet keine globalen Tastenkürzel.</translation>
    </message>
    <message>
        <source>Not available in a Wayland session: only the compositor sees clicks in the windows of other applications. Use a hot key.</source>
        <translation>In einer Wayland-Sitzung nicht verfügbar: Nur der Compositor sieht Klicks in den Fenstern anderer Anwendungen. Verwenden Sie ein Tastenkürzel.</translation>
    </message>
    <message>
        <source>Line to add: %1</source>
        <translation>Hinzuzufügende Zeile: %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy the line: %1</source>
        <translation>Zeile kopieren: %1</translation>
    </message>
    <message>
        <source>How the hot keys are set</source>
        <translation>Wie die Tastenkürzel eingerichtet sind</translation>
    </message>
</context>
<context>
    <name>Trovix</name>
    <message>
        <source>usage: trovix defaults read [KEY] | write KEY [-bool|-int|-float|-string] VALUE | write KEY -dict KEY VALUE ... | write KEY -array VALUE ... | delete KEY</source>
        <translation>Aufruf: trovix defaults read [KEY] | write KEY [-bool|-int|-float|-string] VALUE | write KEY -dict KEY VALUE ... | write KEY -array VALUE ... | delete KEY</translation>
    </message>
    <message>
        <source>The domain/default pair of (%1, %2) does not exist</source>
        <translation>Das Paar aus Domäne und Schlüssel (%1, %2) existiert nicht</translation>
    </message>
    <message>
        <source>-bool takes YES, NO, TRUE, FALSE, 1 or 0, not &quot;%1&quot;</source>
        <translation>-bool nimmt YES, NO, TRUE, FALSE, 1 oder 0, nicht „%1“</translation>
    </message>
    <message>
        <source>-int takes a whole number, not &quot;%1&quot;</source>
        <translation>-int nimmt eine ganze Zahl, nicht „%1“</translation>
    </message>
    <message>
        <source>-float takes a number, not &quot;%1&quot;</source>
        <translation>-float nimmt eine Zahl, nicht „%1“</translation>
    </message>
    <message>
        <source>a value is missing</source>
        <translation>ein Wert fehlt</translation>
    </message>
    <message>
        <source>unknown type flag %1</source>
        <translation>unbekannte Typangabe %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>-dict needs a value for every key; &quot;%1&quot; has none</source>
        <translation>-dict braucht zu jedem Schlüssel einen Wert; „%1“ hat keinen</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>Domain %1 does not exist</source>
        <translation>Die Domäne %1 existiert nicht</translation>
    </message>
    <message>
        <source>trovix defaults: cannot open the settings file %1 (%2); it is left as it is</source>
        <translation>trovix defaults: Die Einstellungsdatei %1 kann nicht geöffnet werden (%2); sie bleibt, wie sie ist</translation>
    </message>
    <message>
        <source>Settings Cannot Be Opened</source>
        <translation>Einstellungen können nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Trovix cannot open its settings file %1 (%2). Until Trovix is started again it uses its default settings, and changes to settings are not saved, so that the file stays as it is.</source>
        <translation>Trovix kann seine Einstellungsdatei %1 nicht öffnen (%2). Bis Trovix neu gestartet wird, verwendet es seine Standardeinstellungen, und Änderungen an Einstellungen werden nicht gesichert, damit die Datei bleibt, wie sie ist.</translation>
    </message>
    <message>
        <source>trovix defaults: cannot write %1</source>
        <translation>trovix defaults: %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>trovix defaults write: %1</source>
        <translation>trovix defaults write: %1</translation>
    </message>
    <message>
        <source>usage: trovix demo-menu [--font-size N] [--appearance system|light|dark] [--at X,Y]</source>
        <translation>Aufruf: trovix demo-menu [--font-size N] [--appearance system|light|dark] [--at X,Y]</translation>
    </message>
    <message>
        <source>usage: trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] [--item-by-item] [--press &apos;Menu &gt; Item&apos;]</source>
        <translation>Aufruf: trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] [--item-by-item] [--press &apos;Menu &gt; Item&apos;]</translation>
    </message>
    <message>
        <source>trovix: accessibility is off; turn it on for the session and restart the application</source>
        <translation>trovix: Die Barrierefreiheit ist ausgeschaltet; schalten Sie sie für die Sitzung ein und starten Sie die Anwendung neu</translation>
    </message>
    <message>
        <source>trovix: no process %1</source>
        <translation>trovix: kein Prozess %1</translation>
    </message>
    <message>
        <source>trovix: there is no frontmost application</source>
        <translation>trovix: Keine Anwendung ist im Vordergrund</translation>
    </message>
    <message>
        <source>(unnamed)</source>
        <translation>(unbenannt)</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) is a GTK 2 application started without its accessibility bridge; &quot;trovix show help troubleshooting&quot; says how to load it</source>
        <translation>trovix: %1 (PID %2) ist eine GTK-2-Anwendung, die ohne ihre Barrierefreiheitsbrücke gestartet wurde; wie sie geladen wird, sagt „trovix show help troubleshooting“</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) is not on the accessibility bus</source>
        <translation>trovix: %1 (PID %2) ist nicht am Barrierefreiheitsbus</translation>
    </message>
    <message>
        <source>trovix: the application with pid %1 does not answer within %2 s</source>
        <translation>trovix: Die Anwendung mit der PID %1 antwortet nicht innerhalb von %2 s</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) has no menu bar</source>
        <translation>trovix: %1 (PID %2) hat keine Menüleiste</translation>
    </message>
    <message>
        <source>trovix: no menu item %1</source>
        <translation>trovix: kein Menüeintrag %1</translation>
    </message>
    <message>
        <source>trovix: %1 could not be pressed</source>
        <translation>trovix: %1 konnte nicht ausgelöst werden</translation>
    </message>
    <message>
        <source>pressed %1</source>
        <translation>%1 ausgelöst</translation>
    </message>
    <message>
        <source>usage: trovix key-label [--follow] CODE...</source>
        <translation>Aufruf: trovix key-label [--follow] CODE...</translation>
    </message>
    <message>
        <source>not a key code: %1</source>
        <translation>kein Tastencode: %1</translation>
    </message>
    <message>
        <source>trovix key-label: no X display (DISPLAY is not set)</source>
        <translation>trovix key-label: keine X-Anzeige (DISPLAY ist nicht gesetzt)</translation>
    </message>
    <message>
        <source>trovix key-label: cannot connect to the X display %1</source>
        <translation>trovix key-label: keine Verbindung zur X-Anzeige %1</translation>
    </message>
    <message>
        <source>usage: trovix login-item on|off|status</source>
        <translation>Aufruf: trovix login-item on|off|status</translation>
    </message>
    <message>
        <source>Trovix cannot change this setting here.</source>
        <translation>Trovix kann diese Einstellung hier nicht ändern.</translation>
    </message>
    <message>
        <source>Trovix could not be set to start at login; the system log tells why.</source>
        <translation>Trovix konnte nicht für den Start bei der Anmeldung eingerichtet werden; das Systemprotokoll nennt den Grund.</translation>
    </message>
    <message>
        <source>Trovix could not be kept from starting at login; the system log tells why.</source>
        <translation>Der Start von Trovix bei der Anmeldung konnte nicht abgeschaltet werden; das Systemprotokoll nennt den Grund.</translation>
    </message>
    <message>
        <source>trovix: accessibility is off</source>
        <translation>trovix: Die Barrierefreiheit ist ausgeschaltet</translation>
    </message>
    <message>
        <source>usage: trovix popup [--all] [--print [--depth N] [--pid N]]</source>
        <translation>Aufruf: trovix popup [--all] [--print [--depth N] [--pid N]]</translation>
    </message>
    <message>
        <source>trovix: %1</source>
        <translation>trovix: %1</translation>
    </message>
    <message>
        <source>trovix: no X display (DISPLAY is not set)</source>
        <translation>trovix: keine X-Anzeige (DISPLAY ist nicht gesetzt)</translation>
    </message>
    <message>
        <source>trovix: cannot connect to the X display %1</source>
        <translation>trovix: keine Verbindung zur X-Anzeige %1</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>About Trovix</source>
        <translation>Über Trovix</translation>
    </message>
    <message>
        <source>Check for Updates...</source>
        <translation>Nach Aktualisierungen suchen …</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Enable Debug Logging</source>
        <translation>Debug-Protokollierung einschalten</translation>
    </message>
    <message>
        <source>No way to access menu</source>
        <translation>Kein Zugang zum Menü</translation>
    </message>
    <message>
        <source>Enable the right click functionality or set a hot key before you put Trovix in faceless mode.</source>
        <translation>Schalten Sie das Öffnen per Rechtsklick ein oder legen Sie ein Tastenkürzel fest, bevor Sie Trovix ohne Symbol laufen lassen.</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Leer</translation>
    </message>
    <message>
        <source>%1 more items not shown</source>
        <translation>%1 weitere Einträge nicht angezeigt</translation>
    </message>
    <message>
        <source>%1 is missing.</source>
        <translation>%1 fehlt.</translation>
    </message>
    <message>
        <source>%1 refuses to let Trovix in.</source>
        <translation>%1 verweigert Trovix den Zugang.</translation>
    </message>
    <message>
        <source>Accessibility is turned off.</source>
        <translation>Die Barrierefreiheit ist ausgeschaltet.</translation>
    </message>
    <message>
        <source>Trovix cannot read menus</source>
        <translation>Trovix kann keine Menüs lesen</translation>
    </message>
    <message>
        <source>Animate Window Resizing</source>
        <translation>Größenänderung von Fenstern animieren</translation>
    </message>
    <message>
        <source>%1 Status Item</source>
        <translation>Statussymbol von %1</translation>
    </message>
    <message>
        <source>usage: trovix show log|preferences|about|help</source>
        <translation type="vanished">Aufruf: trovix show log|preferences|about|help</translation>
    </message>
    <message>
        <source>EULA</source>
        <translation>Lizenzvertrag</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Application icon</source>
        <translation>Anwendungssymbol</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Mitwirkende</translation>
    </message>
    <message>
        <source>Shows the licence agreement</source>
        <translation>Zeigt den Lizenzvertrag</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
    <message>
        <source>Use &quot;%1&quot;?</source>
        <translation>„%1“ verwenden?</translation>
    </message>
    <message>
        <source>Some applications might not respond properly to your input with the key combination &quot;%1&quot; being reserved as a hot key.</source>
        <translation>Manche Anwendungen reagieren womöglich nicht mehr richtig auf Ihre Eingaben, wenn die Tastenkombination „%1“ als Tastenkürzel belegt ist.</translation>
    </message>
    <message>
        <source>Use &quot;%1&quot;</source>
        <translation>„%1“ verwenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Keep Above Others</source>
        <translation>Im Vordergrund halten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Accessibility has been turned on. Applications that were started before must be restarted before Trovix can read their menus.</source>
        <translation>Die Barrierefreiheit wurde eingeschaltet. Anwendungen, die schon vorher liefen, müssen neu gestartet werden, bevor Trovix ihre Menüs lesen kann.</translation>
    </message>
    <message>
        <source>Accessibility</source>
        <translation>Barrierefreiheit</translation>
    </message>
    <message>
        <source>Start Trovix when you log in</source>
        <translation>Trovix bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>the D-Bus session bus</source>
        <translation>der D-Bus-Sitzungsbus</translation>
    </message>
    <message>
        <source>Start Trovix from a desktop session, which provides one.</source>
        <translation>Starten Sie Trovix aus einer Desktop-Sitzung, die einen bereitstellt.</translation>
    </message>
    <message>
        <source>the AT-SPI accessibility bus</source>
        <translation>der AT-SPI-Barrierefreiheitsbus</translation>
    </message>
    <message>
        <source>Install the at-spi2-core package, then log out and log in again.</source>
        <translation>Installieren Sie das Paket at-spi2-core, melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Allow assistive technologies in the desktop&apos;s accessibility settings and make sure the at-spi2-core package is installed, then log out and log in again.</source>
        <translation>Erlauben Sie Hilfstechnologien in den Barrierefreiheitseinstellungen der Arbeitsumgebung, stellen Sie sicher, dass das Paket at-spi2-core installiert ist, und melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Check Now...</source>
        <translation>Jetzt suchen …</translation>
    </message>
    <message>
        <source>Check Automatically</source>
        <translation>Automatisch suchen</translation>
    </message>
    <message>
        <source>Last check: %1</source>
        <translation>Letzte Suche: %1</translation>
    </message>
    <message>
        <source>%1 %2 is up to date.</source>
        <translation>%1 %2 ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>%1 %2 is now available! You are currently using %3 %4.</source>
        <translation>%1 %2 ist jetzt verfügbar! Sie verwenden derzeit %3 %4.</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>%1-Hilfe</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Quick Access</source>
        <translation>Schnellzugriff</translation>
    </message>
    <message>
        <source>Back/Forward</source>
        <translation>Zurück/Vor</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen …</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken …</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>That didn&apos;t do anything</source>
        <translation>Das hat nichts geändert</translation>
    </message>
    <message>
        <source>%1 was already set to %2.</source>
        <translation>%1 war bereits auf %2 gesetzt.</translation>
    </message>
    <message>
        <source>User default updated</source>
        <translation>Einstellung geändert</translation>
    </message>
    <message>
        <source>%1 is now set to %2.</source>
        <translation>%1 ist jetzt auf %2 gesetzt.</translation>
    </message>
    <message>
        <source>(No Value)</source>
        <translation>(kein Wert)</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Revert to %1</source>
        <translation>Auf %1 zurücksetzen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1 Login Item set to Hidden</source>
        <translation type="vanished">Anmeldeobjekt von %1 ist ausgeblendet</translation>
    </message>
    <message>
        <source>%1 may not function properly if set to run at login and marked Hidden. To make sure %2 works as expected, click the button below to remove the Hidden option from %3&apos;s Login Items entry.</source>
        <translation type="vanished">%1 funktioniert möglicherweise nicht richtig, wenn es bei der Anmeldung ausgeblendet gestartet wird. Damit %2 wie erwartet funktioniert, klicken Sie auf die Schaltfläche unten, um die Option „Ausblenden“ aus dem Anmeldeeintrag von %3 zu entfernen.</translation>
    </message>
    <message>
        <source>Unhide %1</source>
        <translation type="vanished">%1 einblenden</translation>
    </message>
    <message>
        <source>⇤ 1 hour before %1…</source>
        <translation>⇤ 1 Stunde vor %1 …</translation>
    </message>
    <message>
        <source>⇤ 1 day before %1…</source>
        <translation>⇤ 1 Tag vor %1 …</translation>
    </message>
    <message>
        <source>⇤ %1…</source>
        <translation>⇤ %1 …</translation>
    </message>
    <message numerus="yes">
        <source>⇤ %n days before %1…</source>
        <translation>
            <numerusform>⇤ %n Tag vor %1 …</numerusform>
            <numerusform>⇤ %n Tage vor %1 …</numerusform>
        </translation>
    </message>
    <message>
        <source>trovix: the update check failed: %1</source>
        <translation>trovix: Die Suche nach Aktualisierungen ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The update check gave no result.</source>
        <translation>Die Suche nach Aktualisierungen ergab kein Ergebnis.</translation>
    </message>
    <message>
        <source>Trovix in a Wayland Session</source>
        <translation>Trovix in einer Wayland-Sitzung</translation>
    </message>
    <message>
        <source>The help book has no pages.</source>
        <translation>Die Hilfe enthält keine Seiten.</translation>
    </message>
    <message>
        <source>The help book could not be found.</source>
        <translation>Die Hilfe wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Trovix cannot run in this Wayland session: it needs XWayland, and DISPLAY is not set. Turn XWayland on in the compositor, or log in to an X11 session.</source>
        <translation>Trovix kann in dieser Wayland-Sitzung nicht laufen: Es braucht XWayland, und DISPLAY ist nicht gesetzt. Schalten Sie XWayland im Compositor ein oder melden Sie sich bei einer X11-Sitzung an.</translation>
    </message>
    <message>
        <source>Trovix runs in this Wayland session through XWayland. What works: the menus of the application in front, Wayland applications included, open at the pointer, and choosing an item runs it in the application.</source>
        <translation>Trovix läuft in dieser Wayland-Sitzung über XWayland. Was funktioniert: Die Menüs der Anwendung im Vordergrund, auch von Wayland-Anwendungen, öffnen sich am Zeiger, und ein gewählter Eintrag wird in der Anwendung ausgeführt.</translation>
    </message>
    <message>
        <source>Hot keys on GNOME: record them in the preferences. Where GNOME offers global shortcuts (GNOME 48 and later) it asks you to allow them; on older versions Trovix adds them, once you agree, as custom shortcuts in GNOME&apos;s keyboard settings.</source>
        <translation>Tastenkürzel unter GNOME: Nehmen Sie sie in den Einstellungen auf. Wo GNOME globale Tastenkürzel anbietet (ab GNOME 48), fragt es Sie, ob Sie sie erlauben; bei älteren Versionen legt Trovix sie mit Ihrer Zustimmung als eigene Tastenkürzel in GNOMEs Tastatureinstellungen an.</translation>
    </message>
    <message>
        <source>Hot keys on KDE Plasma: record them in the preferences. Plasma keeps them as global shortcuts, which you find again in System Settings under Shortcuts.</source>
        <translation>Tastenkürzel unter KDE Plasma: Nehmen Sie sie in den Einstellungen auf. Plasma führt sie als globale Tastenkürzel, die Sie in den Systemeinstellungen unter „Kurzbefehle“ wiederfinden.</translation>
    </message>
    <message>
        <source>Hot keys on sway and other wlroots desktops belong to the compositor: add the line the preferences show under each hot key (bindsym ... exec trovix popup) to the compositor&apos;s configuration and reload it.</source>
        <translation>Tastenkürzel unter sway und anderen wlroots-Desktops gehören dem Compositor: Fügen Sie die Zeile, die die Einstellungen unter jedem Tastenkürzel zeigen (bindsym ... exec trovix popup), in die Konfiguration des Compositors ein und laden Sie sie neu.</translation>
    </message>
    <message>
        <source>Hot keys: record them in the preferences where the desktop offers global shortcuts through its portal; elsewhere bind a key in the desktop&apos;s own settings to the command trovix popup (trovix popup --all for all applications).</source>
        <translation>Tastenkürzel: Nehmen Sie sie in den Einstellungen auf, wo der Desktop globale Tastenkürzel über sein Portal anbietet; andernfalls belegen Sie in den Einstellungen des Desktops eine Taste mit dem Befehl trovix popup (trovix popup --all für alle Anwendungen).</translation>
    </message>
    <message>
        <source>The right click trigger is not offered: under Wayland only the compositor sees clicks in other applications&apos; windows.</source>
        <translation>Der Rechtsklick als Auslöser wird nicht angeboten: Unter Wayland sieht nur der Compositor Klicks in die Fenster anderer Anwendungen.</translation>
    </message>
    <message>
        <source>The update feed is not a valid appcast (line %2): %1</source>
        <translation>Der Aktualisierungs-Feed ist kein gültiger Appcast (Zeile %2): %1</translation>
    </message>
    <message>
        <source>The update feed is not an RSS feed.</source>
        <translation>Der Aktualisierungs-Feed ist kein RSS-Feed.</translation>
    </message>
    <message>
        <source>The update feed lists no versions.</source>
        <translation>Der Aktualisierungs-Feed führt keine Versionen auf.</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Sie sind auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 ist derzeit die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>Trovix could not check for updates.</source>
        <translation>Trovix konnte nicht nach Aktualisierungen suchen.</translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>The update feed is larger than 1 MB.</source>
        <translation>Der Aktualisierungs-Feed ist größer als 1 MB.</translation>
    </message>
    <message>
        <source>The update server did not answer within %1 s.</source>
        <translation>Der Aktualisierungsserver hat nicht innerhalb von %1 s geantwortet.</translation>
    </message>
    <message>
        <source>No update feed address is set.</source>
        <translation>Es ist keine Adresse für den Aktualisierungs-Feed festgelegt.</translation>
    </message>
    <message>
        <source>The update feed address must not hold a user name or password.</source>
        <translation>Die Adresse des Aktualisierungs-Feeds darf weder Benutzernamen noch Passwort enthalten.</translation>
    </message>
    <message>
        <source>The update feed address %1 is not allowed: Trovix loads update information over https only.</source>
        <translation>Die Adresse %1 ist für den Aktualisierungs-Feed nicht erlaubt: Trovix lädt Informationen zu Aktualisierungen nur über https.</translation>
    </message>
    <message>
        <source>The update server sent Trovix on to %1, which is not allowed: Trovix loads update information over https only.</source>
        <translation>Der Aktualisierungsserver hat Trovix an %1 weitergeleitet, was nicht erlaubt ist: Trovix lädt Informationen zu Aktualisierungen nur über https.</translation>
    </message>
    <message>
        <source>The update feed could not be loaded: %1</source>
        <translation>Der Aktualisierungs-Feed konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>The update feed %1 is not a regular file.</source>
        <translation>Der Aktualisierungs-Feed %1 ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>Eine neue Version von %1 ist verfügbar!</translation>
    </message>
    <message>
        <source>Release Notes:</source>
        <translation>Versionshinweise:</translation>
    </message>
    <message>
        <source>Release Notes</source>
        <translation>Versionshinweise</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Diese Version überspringen</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>%1 %2 is now available—you have %3. Would you like to download it now?</source>
        <translation>%1 %2 ist jetzt verfügbar – Sie haben %3. Möchten Sie die neue Version jetzt herunterladen?</translation>
    </message>
    <message>
        <source>Loading release notes…</source>
        <translation>Versionshinweise werden geladen …</translation>
    </message>
    <message>
        <source>No release notes were given for this version.</source>
        <translation>Für diese Version liegen keine Versionshinweise vor.</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>Die Versionshinweise konnten nicht geladen werden.</translation>
    </message>
    <message>
        <source>No update check yet</source>
        <translation>Noch keine Suche nach Aktualisierungen</translation>
    </message>
    <message>
        <source>Last check</source>
        <translation>Letzte Suche</translation>
    </message>
    <message>
        <source>usage: trovix search [--all | --pid N] [--json] [--press] [--limit N] QUERY</source>
        <translation type="vanished">Aufruf: trovix search [--all | --pid N] [--json] [--press] [--limit N] SUCHBEGRIFF</translation>
    </message>
    <message>
        <source>trovix: the application with pid %1 stopped answering; searching what was read</source>
        <translation>trovix: Die Anwendung mit der PID %1 antwortet nicht mehr; durchsucht wird, was gelesen wurde</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) has no menu bar that can be read</source>
        <translation>trovix: %1 (PID %2) hat keine lesbare Menüleiste</translation>
    </message>
    <message>
        <source>pid %1</source>
        <translation>PID %1</translation>
    </message>
    <message>
        <source>trovix: no menu item matches &quot;%1&quot;</source>
        <translation>trovix: Kein Menüeintrag passt zu „%1“</translation>
    </message>
    <message>
        <source>trovix: every menu item that matches &quot;%1&quot; is disabled</source>
        <translation>trovix: Alle Menüeinträge, die zu „%1“ passen, sind deaktiviert</translation>
    </message>
    <message>
        <source>trovix: %1 could not be pressed: %2 has quit</source>
        <translation>trovix: %1 konnte nicht ausgeführt werden: %2 wurde beendet</translation>
    </message>
    <message>
        <source>usage: trovix show log|preferences|about|help [PAGE[#ANCHOR]]</source>
        <translation>Aufruf: trovix show log|preferences|about|help [SEITE[#ANKER]]</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>More Toolbar Items</source>
        <translation>Weitere Symbolleistenelemente</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Vorschläge</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find in page</source>
        <translation>Auf der Seite suchen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Help is not available</source>
        <translation>Die Hilfe ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Page Header</source>
        <translation>Seitenkopf</translation>
    </message>
    <message>
        <source>Cannot change this setting</source>
        <translation>Diese Einstellung kann nicht geändert werden</translation>
    </message>
    <message>
        <source>%1 is not a setting of Trovix.</source>
        <translation>%1 ist keine Einstellung von Trovix.</translation>
    </message>
    <message>
        <source>Change %1?</source>
        <translation>%1 ändern?</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation>Link öffnen</translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation>Link kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>markiert</translation>
    </message>
    <message>
        <source>dimmed</source>
        <translation>abgeblendet</translation>
    </message>
    <message>
        <source>Search Menus</source>
        <translation>Menüs durchsuchen</translation>
    </message>
    <message>
        <source>Search text</source>
        <translation>Suchtext</translation>
    </message>
    <message>
        <source>Search menus</source>
        <translation>Menüs durchsuchen</translation>
    </message>
    <message>
        <source>Matching menu items</source>
        <translation>Passende Menüpunkte</translation>
    </message>
    <message>
        <source>Search status</source>
        <translation>Suchstatus</translation>
    </message>
    <message>
        <source>Reading menus…</source>
        <translation>Menüs werden gelesen …</translation>
    </message>
    <message>
        <source>No menus could be read.</source>
        <translation>Es konnten keine Menüs gelesen werden.</translation>
    </message>
    <message>
        <source>No menu item matches “%1”.</source>
        <translation>Kein Menüpunkt passt zu „%1“.</translation>
    </message>
    <message>
        <source>%1 stopped answering; only what was read is searched.</source>
        <translation>%1 antwortet nicht mehr; durchsucht wird nur, was gelesen wurde.</translation>
    </message>
    <message>
        <source>Clear Search History</source>
        <translation>Suchverlauf löschen</translation>
    </message>
    <message>
        <source>usage: trovix search [--all | --pid N] [--json] [--press] [--limit N] QUERY
       trovix search --clear-history</source>
        <translation>Aufruf: trovix search [--all | --pid N] [--json] [--press] [--limit N] SUCHBEGRIFF
        trovix search --clear-history</translation>
    </message>
    <message>
        <source>trovix: cannot remove the search history %1</source>
        <translation>trovix: Der Suchverlauf %1 kann nicht entfernt werden</translation>
    </message>
    <message>
        <source>removed the search history %1</source>
        <translation>Suchverlauf %1 entfernt</translation>
    </message>
    <message>
        <source>the search history is already empty</source>
        <translation>Der Suchverlauf ist bereits leer</translation>
    </message>
    <message>
        <source>no help page &quot;%1&quot;</source>
        <translation>keine Hilfeseite „%1“</translation>
    </message>
    <message>
        <source>%1 cannot be set to %2.</source>
        <translation>%1 kann nicht auf %2 gesetzt werden.</translation>
    </message>
    <message>
        <source>%1 will be set to %2; it is now %3.</source>
        <translation>%1 wird auf %2 gesetzt; derzeit: %3.</translation>
    </message>
    <message>
        <source>There is no desktop session bus to ask.</source>
        <translation>Es gibt keinen Sitzungsbus des Desktops, über den gefragt werden könnte.</translation>
    </message>
    <message>
        <source>The desktop refused the request: %1</source>
        <translation>Der Desktop hat die Anfrage abgelehnt: %1</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read.</source>
        <translation>Der Ordner %1 kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be deleted: %2</source>
        <translation>%1 kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be started from an autostart entry.</source>
        <translation>%1 kann nicht über einen Autostart-Eintrag gestartet werden.</translation>
    </message>
    <message>
        <source>The desktop&apos;s list of programs started at login could not be changed.</source>
        <translation>Die Liste der Programme, die der Desktop bei der Anmeldung startet, konnte nicht geändert werden.</translation>
    </message>
    <message>
        <source>%1 %2 is available and was skipped. You are currently using %3 %4.</source>
        <translation>%1 %2 ist verfügbar und wurde übersprungen. Sie verwenden derzeit %3 %4.</translation>
    </message>
    <message>
        <source>Trovix: the menus of all applications</source>
        <translation>Trovix: die Menüs aller Anwendungen</translation>
    </message>
    <message>
        <source>Trovix: the menu of the active application</source>
        <translation>Trovix: das Menü der aktiven Anwendung</translation>
    </message>
    <message>
        <source>Add the hot keys to GNOME?</source>
        <translation>Tastenkürzel zu GNOME hinzufügen?</translation>
    </message>
    <message>
        <source>In a Wayland session only GNOME itself sees the keys you type. Trovix can add its hot keys as custom shortcuts to GNOME&apos;s keyboard settings, where they run &quot;trovix popup&quot;. Removing a hot key here removes its shortcut there; your other shortcuts stay as they are.</source>
        <translation>In einer Wayland-Sitzung sieht nur GNOME selbst die Tasten, die Sie drücken. Trovix kann seine Tastenkürzel als eigene Tastenkombinationen in die Tastatureinstellungen von GNOME eintragen, wo sie „trovix popup“ ausführen. Entfernen Sie hier ein Tastenkürzel, wird auch seine Tastenkombination dort entfernt; Ihre anderen Tastenkombinationen bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>Add to Keyboard Settings</source>
        <translation>Zu den Tastatureinstellungen hinzufügen</translation>
    </message>
    <message>
        <source>Don&apos;t Add</source>
        <translation>Nicht hinzufügen</translation>
    </message>
</context>
</TS>
