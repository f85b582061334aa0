<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>ILRIntegratedLogReader</name>
    <message>
        <source>Log Not Supported</source>
        <translation>Journal non disponible</translation>
    </message>
    <message>
        <source>Displaying the log requires the trovix-log tool in the application bundle.</source>
        <translation>L&apos;affichage du journal nécessite l&apos;outil trovix-log dans le paquet de l&apos;application.</translation>
    </message>
    <message>
        <source>Displaying the log requires reading the system journal, which members of the group “%1” may do. Ask an administrator to add you to that group, then log in again.</source>
        <translation>L&apos;affichage du journal nécessite de lire le journal système, ce que peuvent faire les membres du groupe « %1 ». Demandez à un administrateur de vous ajouter à ce groupe, puis reconnectez-vous.</translation>
    </message>
    <message>
        <source>trovix-log ended with status %1</source>
        <translation>trovix-log s&apos;est terminé avec le statut %1</translation>
    </message>
    <message>
        <source>The log cannot be read: %1</source>
        <translation>Le journal ne peut pas être lu : %1</translation>
    </message>
    <message>
        <source>%1 Log</source>
        <translation>Journal de %1</translation>
    </message>
    <message>
        <source>Show Sender</source>
        <translation>Afficher l&apos;émetteur</translation>
    </message>
    <message>
        <source>Coalesce Repeated Messages</source>
        <translation>Regrouper les messages répétés</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Save Log</source>
        <translation>Enregistrer le journal</translation>
    </message>
    <message>
        <source>Property Lists (*.plist)</source>
        <translation>Listes de propriétés (*.plist)</translation>
    </message>
    <message>
        <source>Find…</source>
        <translation>Rechercher…</translation>
    </message>
    <message>
        <source>%1 — Finding Older Messages…</source>
        <translation>%1 — Recherche de messages plus anciens…</translation>
    </message>
</context>
<context>
    <name>ILRLogWindow</name>
    <message>
        <source>Log Tool Error</source>
        <translation>Erreur de l&apos;outil de journal</translation>
    </message>
    <message>
        <source>Debug Logging</source>
        <translation>Journalisation de débogage</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Find Earlier Messages</source>
        <translation>Rechercher des messages antérieurs</translation>
    </message>
    <message>
        <source>Finding Older Messages</source>
        <translation>Recherche de messages plus anciens</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Enregistrer…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Affichage</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
</context>
<context>
    <name>QXHotKeyClearButton</name>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
</context>
<context>
    <name>QXHotKeyTextView</name>
    <message>
        <source>In use by another program</source>
        <translation>Utilisé par un autre programme</translation>
    </message>
    <message>
        <source>Not available with this keyboard</source>
        <translation>Indisponible avec ce clavier</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
</context>
<context>
    <name>QXLoginItemSwitch</name>
    <message>
        <source>Start Trovix when you log in</source>
        <translation>Lancer Trovix à la connexion</translation>
    </message>
    <message>
        <source>Trovix could not be set to start when you log in.</source>
        <translation>Trovix n’a pas pu être configuré pour démarrer à l’ouverture de session.</translation>
    </message>
    <message>
        <source>Trovix could not be kept from starting when you log in.</source>
        <translation>Trovix n’a pas pu être empêché de démarrer à l’ouverture de session.</translation>
    </message>
</context>
<context>
    <name>QXMainPreferencesWindow</name>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Mises à jour</translation>
    </message>
    <message>
        <source>Open the menu with a right click while holding</source>
        <translation>Ouvrir le menu d&apos;un clic droit avec la touche</translation>
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
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Fn</source>
        <translation>Fn</translation>
    </message>
    <message>
        <source>Right click:</source>
        <translation>Clic droit&#xa0;:</translation>
    </message>
    <message>
        <source>Hold Shift as well to get the menus of all applications.</source>
        <translation>Maintenez aussi la touche Maj enfoncée pour obtenir les menus de toutes les applications.</translation>
    </message>
    <message>
        <source>Active application:</source>
        <translation>Application active&#xa0;:</translation>
    </message>
    <message>
        <source>All applications:</source>
        <translation>Toutes les applications&#xa0;:</translation>
    </message>
    <message>
        <source>Hot keys:</source>
        <translation>Raccourcis clavier&#xa0;:</translation>
    </message>
    <message>
        <source>Click a field, then press the keys. The keys open the menu from any application.</source>
        <translation>Cliquez dans un champ, puis appuyez sur les touches. Ces touches ouvrent le menu depuis n&apos;importe quelle application.</translation>
    </message>
    <message>
        <source>Open this window at launch</source>
        <translation>Ouvrir cette fenêtre au lancement</translation>
    </message>
    <message>
        <source>At launch:</source>
        <translation>Au lancement&#xa0;:</translation>
    </message>
    <message>
        <source>When off, the window still opens if no way to the menu is set up.</source>
        <translation>Si cette option est désactivée, la fenêtre s&apos;ouvre tout de même tant qu&apos;aucun moyen d&apos;accéder au menu n&apos;est configuré.</translation>
    </message>
    <message>
        <source>At login:</source>
        <translation>À la connexion&#xa0;:</translation>
    </message>
    <message>
        <source>Window in the taskbar</source>
        <translation>Fenêtre dans la barre des tâches</translation>
    </message>
    <message>
        <source>Icon in the tray</source>
        <translation>Icône dans la zone de notification</translation>
    </message>
    <message>
        <source>No icon</source>
        <translation>Aucune icône</translation>
    </message>
    <message>
        <source>Trovix now runs without an icon. Its own menu is at the end of every pop-up menu, and starting Trovix again opens this window.</source>
        <translation>Trovix fonctionne désormais sans icône. Son propre menu se trouve à la fin de chaque menu contextuel, et relancer Trovix ouvre cette fenêtre.</translation>
    </message>
    <message>
        <source>Show Trovix as:</source>
        <translation>Mode d&apos;affichage&#xa0;:</translation>
    </message>
    <message>
        <source>Show keyboard shortcuts</source>
        <translation>Afficher les raccourcis clavier</translation>
    </message>
    <message>
        <source>Show alternate items as ordinary items</source>
        <translation>Afficher les éléments alternatifs comme des éléments ordinaires</translation>
    </message>
    <message>
        <source>Follow the active application, also without a menu bar</source>
        <translation>Suivre l&apos;application active, même sans barre de menus</translation>
    </message>
    <message>
        <source>Put the window menu at the end</source>
        <translation>Placer le menu de la fenêtre à la fin</translation>
    </message>
    <message>
        <source>Leave out disabled items</source>
        <translation>Omettre les éléments désactivés</translation>
    </message>
    <message>
        <source>Pop-up menu:</source>
        <translation>Menu contextuel&#xa0;:</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Comme le système</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Clair</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
    <message>
        <source>Appearance:</source>
        <translation>Apparence&#xa0;:</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Font size:</source>
        <translation>Taille de police&#xa0;:</translation>
    </message>
    <message>
        <source>Leave out:</source>
        <translation>Omettre&#xa0;:</translation>
    </message>
    <message>
        <source>Menus and applications to hide, one per line or separated by commas.</source>
        <translation>Menus et applications à masquer, un par ligne ou séparés par des virgules.</translation>
    </message>
    <message>
        <source>Load at once:</source>
        <translation>Charger d&apos;avance&#xa0;:</translation>
    </message>
    <message>
        <source>Clear %1</source>
        <translation>Effacer %1</translation>
    </message>
    <message>
        <source>Hot key for the active application</source>
        <translation>Raccourci clavier de l&apos;application active</translation>
    </message>
    <message>
        <source>Hot key for all applications</source>
        <translation>Raccourci clavier de toutes les applications</translation>
    </message>
    <message>
        <source>Leave out</source>
        <translation>Omettre</translation>
    </message>
    <message>
        <source>Load at once</source>
        <translation>Charger d&apos;avance</translation>
    </message>
    <message>
        <source>Menus to read in full before the menu opens, as &quot;Application &gt; Menu&quot;, one per line. An application alone loads all its menus.</source>
        <translation>Menus à lire entièrement avant l&apos;ouverture du menu, sous la forme «&#xa0;Application &gt; Menu&#xa0;», un par ligne. Une application seule charge tous ses menus.</translation>
    </message>
    <message>
        <source>This version of Trovix does not check for updates. Install new versions the way you installed this one, for instance with your distribution&apos;s package manager.</source>
        <translation type="vanished">Cette version de Trovix ne recherche pas de mises à jour. Installez les nouvelles versions comme vous avez installé celle-ci, par exemple avec le gestionnaire de paquets de votre distribution.</translation>
    </message>
    <message>
        <source>Check Automatically</source>
        <translation>Rechercher automatiquement</translation>
    </message>
    <message>
        <source>Check Now...</source>
        <translation>Rechercher maintenant…</translation>
    </message>
    <message>
        <source>Updates:</source>
        <translation>Mises à jour&#xa0;:</translation>
    </message>
    <message>
        <source>Trovix tells you when a new version is out; install it the way you installed this one.</source>
        <translation>Trovix vous signale la sortie d&apos;une nouvelle version&#xa0;; installez-la comme vous avez installé celle-ci.</translation>
    </message>
    <message>
        <source>Last result:</source>
        <translation>Dernier résultat&#xa0;:</translation>
    </message>
    <message>
        <source>Visit Product Page</source>
        <translation>Visiter la page du produit</translation>
    </message>
    <message>
        <source>Search menus while typing</source>
        <translation>Rechercher dans les menus pendant la frappe</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Recherche :</translation>
    </message>
    <message>
        <source>Type in an open menu to find any of its commands. The commands you choose from the results rank higher next time.</source>
        <translation>Tapez dans un menu ouvert pour trouver n’importe laquelle de ses commandes. Les commandes choisies parmi les résultats remontent dans la liste la fois suivante.</translation>
    </message>
    <message>
        <source>Hot keys work through the X server.</source>
        <translation>Les raccourcis clavier passent par le serveur X.</translation>
    </message>
    <message>
        <source>Hot keys are set through the desktop&apos;s global shortcuts portal; the desktop may ask you to confirm them.</source>
        <translation>Les raccourcis clavier sont définis par le portail des raccourcis globaux du bureau ; le bureau peut vous demander de les confirmer.</translation>
    </message>
    <message>
        <source>Hot keys are set in KDE&apos;s global shortcuts.</source>
        <translation>Les raccourcis clavier sont définis dans les raccourcis globaux de KDE.</translation>
    </message>
    <message>
        <source>Hot keys are added to GNOME&apos;s keyboard settings once you allow it.</source>
        <translation>Les raccourcis clavier sont ajoutés aux paramètres clavier de GNOME dès que vous l’autorisez.</translation>
    </message>
    <message>
        <source>Hot keys are custom shortcuts in GNOME&apos;s keyboard settings.</source>
        <translation>Les raccourcis clavier sont des raccourcis personnalisés dans les paramètres clavier de GNOME.</translation>
    </message>
    <message>
        <source>This desktop binds keys itself: add the line under each hot key to its configuration (see Help).</source>
        <translation>Ce bureau attribue lui-même les touches : ajoutez la ligne sous chaque raccourci à sa configuration (voir l’aide).</translation>
    </message>
    <message>
        <source>Asking the desktop how to set hot keys…</source>
        <translation>Interrogation du bureau sur la façon de définir les raccourcis…</translation>
    </message>
    <message>
        <source>This desktop offers no global hot keys.</source>
        <translation>Ce bureau n’offre pas de raccourcis clavier globaux.</translation>
    </message>
    <message>
        <source>Not available in a Wayland session: only the compositor sees clicks in the windows of other applications. Use a hot key.</source>
        <translation>Indisponible dans une session Wayland : seul le compositeur voit les clics dans les fenêtres des autres applications. Utilisez un raccourci clavier.</translation>
    </message>
    <message>
        <source>Line to add: %1</source>
        <translation>Ligne à ajouter : %1</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Copy the line: %1</source>
        <translation>Copier la ligne : %1</translation>
    </message>
    <message>
        <source>How the hot keys are set</source>
        <translation>Comment les raccourcis clavier sont définis</translation>
    </message>
</context>
<context>
    <name>Trovix</name>
    <message>
        <source>usage: trovix defaults read [KEY] | write KEY [-bool|-int|-float|-string] VALUE | write KEY -dict KEY VALUE ... | write KEY -array VALUE ... | delete KEY</source>
        <translation>usage&#xa0;: trovix defaults read [KEY] | write KEY [-bool|-int|-float|-string] VALUE | write KEY -dict KEY VALUE ... | write KEY -array VALUE ... | delete KEY</translation>
    </message>
    <message>
        <source>The domain/default pair of (%1, %2) does not exist</source>
        <translation>La paire domaine/clé (%1, %2) n&apos;existe pas</translation>
    </message>
    <message>
        <source>-bool takes YES, NO, TRUE, FALSE, 1 or 0, not &quot;%1&quot;</source>
        <translation>-bool accepte YES, NO, TRUE, FALSE, 1 ou 0, pas «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>-int takes a whole number, not &quot;%1&quot;</source>
        <translation>-int accepte un nombre entier, pas «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>-float takes a number, not &quot;%1&quot;</source>
        <translation>-float accepte un nombre, pas «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>a value is missing</source>
        <translation>il manque une valeur</translation>
    </message>
    <message>
        <source>unknown type flag %1</source>
        <translation>indicateur de type inconnu&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 attend une valeur</translation>
    </message>
    <message>
        <source>-dict needs a value for every key; &quot;%1&quot; has none</source>
        <translation>-dict attend une valeur pour chaque clé&#xa0;; «&#xa0;%1&#xa0;» n&apos;en a pas</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>argument inattendu «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Domain %1 does not exist</source>
        <translation>Le domaine %1 n&apos;existe pas</translation>
    </message>
    <message>
        <source>trovix defaults: cannot open the settings file %1 (%2); it is left as it is</source>
        <translation>trovix defaults&#xa0;: impossible d&apos;ouvrir le fichier de réglages %1 (%2)&#xa0;; il est laissé tel quel</translation>
    </message>
    <message>
        <source>Settings Cannot Be Opened</source>
        <translation>Impossible d&apos;ouvrir les réglages</translation>
    </message>
    <message>
        <source>Trovix cannot open its settings file %1 (%2). Until Trovix is started again it uses its default settings, and changes to settings are not saved, so that the file stays as it is.</source>
        <translation>Trovix ne peut pas ouvrir son fichier de réglages %1 (%2). Jusqu&apos;au prochain démarrage de Trovix, il utilise ses réglages par défaut et les modifications des réglages ne sont pas enregistrées, afin que le fichier reste tel quel.</translation>
    </message>
    <message>
        <source>trovix defaults: cannot write %1</source>
        <translation>trovix defaults&#xa0;: impossible d&apos;écrire %1</translation>
    </message>
    <message>
        <source>trovix defaults write: %1</source>
        <translation>trovix defaults write&#xa0;: %1</translation>
    </message>
    <message>
        <source>usage: trovix demo-menu [--font-size N] [--appearance system|light|dark] [--at X,Y]</source>
        <translation>usage&#xa0;: trovix demo-menu [--font-size N] [--appearance system|light|dark] [--at X,Y]</translation>
    </message>
    <message>
        <source>usage: trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] [--item-by-item] [--press &apos;Menu &gt; Item&apos;]</source>
        <translation>usage&#xa0;: trovix dump-menu [--pid N | --frontmost] [--depth N] [--json] [--item-by-item] [--press &apos;Menu &gt; Item&apos;]</translation>
    </message>
    <message>
        <source>trovix: accessibility is off; turn it on for the session and restart the application</source>
        <translation>trovix&#xa0;: l&apos;accessibilité est désactivée&#xa0;; activez-la pour la session et redémarrez l&apos;application</translation>
    </message>
    <message>
        <source>trovix: no process %1</source>
        <translation>trovix&#xa0;: aucun processus %1</translation>
    </message>
    <message>
        <source>trovix: there is no frontmost application</source>
        <translation>trovix&#xa0;: aucune application n&apos;est au premier plan</translation>
    </message>
    <message>
        <source>(unnamed)</source>
        <translation>(sans nom)</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) is a GTK 2 application started without its accessibility bridge; &quot;trovix show help troubleshooting&quot; says how to load it</source>
        <translation>trovix&#xa0;: %1 (PID %2) est une application GTK&#xa0;2 lancée sans son pont d&apos;accessibilité&#xa0;; «&#xa0;trovix show help troubleshooting&#xa0;» explique comment le charger</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) is not on the accessibility bus</source>
        <translation>trovix&#xa0;: %1 (PID %2) n&apos;est pas sur le bus d&apos;accessibilité</translation>
    </message>
    <message>
        <source>trovix: the application with pid %1 does not answer within %2 s</source>
        <translation>trovix&#xa0;: l&apos;application de PID %1 ne répond pas dans les %2&#xa0;s</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) has no menu bar</source>
        <translation>trovix&#xa0;: %1 (PID %2) n&apos;a pas de barre de menus</translation>
    </message>
    <message>
        <source>trovix: no menu item %1</source>
        <translation>trovix&#xa0;: aucun élément de menu %1</translation>
    </message>
    <message>
        <source>trovix: %1 could not be pressed</source>
        <translation>trovix&#xa0;: impossible d&apos;activer %1</translation>
    </message>
    <message>
        <source>pressed %1</source>
        <translation>%1 activé</translation>
    </message>
    <message>
        <source>usage: trovix key-label [--follow] CODE...</source>
        <translation>usage&#xa0;: trovix key-label [--follow] CODE...</translation>
    </message>
    <message>
        <source>not a key code: %1</source>
        <translation>pas un code de touche&#xa0;: %1</translation>
    </message>
    <message>
        <source>trovix key-label: no X display (DISPLAY is not set)</source>
        <translation>trovix key-label&#xa0;: aucun affichage X (DISPLAY n&apos;est pas défini)</translation>
    </message>
    <message>
        <source>trovix key-label: cannot connect to the X display %1</source>
        <translation>trovix key-label&#xa0;: impossible de se connecter à l&apos;affichage X %1</translation>
    </message>
    <message>
        <source>usage: trovix login-item on|off|status</source>
        <translation>usage&#xa0;: trovix login-item on|off|status</translation>
    </message>
    <message>
        <source>Trovix cannot change this setting here.</source>
        <translation>Trovix ne peut pas modifier ce réglage ici.</translation>
    </message>
    <message>
        <source>Trovix could not be set to start at login; the system log tells why.</source>
        <translation>Impossible de faire démarrer Trovix à la connexion&#xa0;; le journal système en indique la raison.</translation>
    </message>
    <message>
        <source>Trovix could not be kept from starting at login; the system log tells why.</source>
        <translation>Impossible d&apos;empêcher Trovix de démarrer à la connexion&#xa0;; le journal système en indique la raison.</translation>
    </message>
    <message>
        <source>trovix: accessibility is off</source>
        <translation>trovix&#xa0;: l&apos;accessibilité est désactivée</translation>
    </message>
    <message>
        <source>usage: trovix popup [--all] [--print [--depth N] [--pid N]]</source>
        <translation>usage&#xa0;: trovix popup [--all] [--print [--depth N] [--pid N]]</translation>
    </message>
    <message>
        <source>trovix: %1</source>
        <translation>trovix&#xa0;: %1</translation>
    </message>
    <message>
        <source>trovix: no X display (DISPLAY is not set)</source>
        <translation>trovix&#xa0;: aucun affichage X (DISPLAY n&apos;est pas défini)</translation>
    </message>
    <message>
        <source>trovix: cannot connect to the X display %1</source>
        <translation>trovix&#xa0;: impossible de se connecter à l&apos;affichage X %1</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenêtre</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>About Trovix</source>
        <translation>À propos de Trovix</translation>
    </message>
    <message>
        <source>Check for Updates...</source>
        <translation>Rechercher des mises à jour…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>Préférences…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Enable Debug Logging</source>
        <translation>Activer la journalisation de débogage</translation>
    </message>
    <message>
        <source>No way to access menu</source>
        <translation>Aucun moyen d&apos;accéder au menu</translation>
    </message>
    <message>
        <source>Enable the right click functionality or set a hot key before you put Trovix in faceless mode.</source>
        <translation>Activez l&apos;ouverture par clic droit ou définissez un raccourci clavier avant de faire fonctionner Trovix sans icône.</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>Vide</translation>
    </message>
    <message>
        <source>%1 more items not shown</source>
        <translation>%1 autres éléments non affichés</translation>
    </message>
    <message>
        <source>%1 is missing.</source>
        <translation>%1 est introuvable.</translation>
    </message>
    <message>
        <source>%1 refuses to let Trovix in.</source>
        <translation>%1 refuse l&apos;accès à Trovix.</translation>
    </message>
    <message>
        <source>Accessibility is turned off.</source>
        <translation>L&apos;accessibilité est désactivée.</translation>
    </message>
    <message>
        <source>Trovix cannot read menus</source>
        <translation>Trovix ne peut pas lire les menus</translation>
    </message>
    <message>
        <source>Animate Window Resizing</source>
        <translation>Animer le redimensionnement des fenêtres</translation>
    </message>
    <message>
        <source>%1 Status Item</source>
        <translation>Icône d&apos;état de %1</translation>
    </message>
    <message>
        <source>usage: trovix show log|preferences|about|help</source>
        <translation type="vanished">usage&#xa0;: trovix show log|preferences|about|help</translation>
    </message>
    <message>
        <source>EULA</source>
        <translation>Contrat de licence</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Application icon</source>
        <translation>Icône de l&apos;application</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Crédits</translation>
    </message>
    <message>
        <source>Shows the licence agreement</source>
        <translation>Affiche le contrat de licence</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>À propos de %1</translation>
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
        <translation>Utiliser «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message>
        <source>Some applications might not respond properly to your input with the key combination &quot;%1&quot; being reserved as a hot key.</source>
        <translation>Certaines applications risquent de ne plus répondre correctement à vos saisies si la combinaison de touches «&#xa0;%1&#xa0;» est réservée comme raccourci clavier.</translation>
    </message>
    <message>
        <source>Use &quot;%1&quot;</source>
        <translation>Utiliser «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximiser</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>Keep Above Others</source>
        <translation>Garder au-dessus des autres</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Accessibility has been turned on. Applications that were started before must be restarted before Trovix can read their menus.</source>
        <translation>L&apos;accessibilité a été activée. Les applications lancées auparavant doivent être redémarrées pour que Trovix puisse lire leurs menus.</translation>
    </message>
    <message>
        <source>Accessibility</source>
        <translation>Accessibilité</translation>
    </message>
    <message>
        <source>Start Trovix when you log in</source>
        <translation>Lancer Trovix à la connexion</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>the D-Bus session bus</source>
        <translation>le bus de session D-Bus</translation>
    </message>
    <message>
        <source>Start Trovix from a desktop session, which provides one.</source>
        <translation>Lancez Trovix depuis une session de bureau, qui en fournit un.</translation>
    </message>
    <message>
        <source>the AT-SPI accessibility bus</source>
        <translation>le bus d&apos;accessibilité AT-SPI</translation>
    </message>
    <message>
        <source>Install the at-spi2-core package, then log out and log in again.</source>
        <translation>Installez le paquet at-spi2-core, puis fermez la session et ouvrez-la à nouveau.</translation>
    </message>
    <message>
        <source>Allow assistive technologies in the desktop&apos;s accessibility settings and make sure the at-spi2-core package is installed, then log out and log in again.</source>
        <translation>Autorisez les technologies d&apos;assistance dans les paramètres d&apos;accessibilité du bureau et vérifiez que le paquet at-spi2-core est installé, puis fermez la session et ouvrez-la à nouveau.</translation>
    </message>
    <message>
        <source>Check Now...</source>
        <translation>Rechercher maintenant…</translation>
    </message>
    <message>
        <source>Check Automatically</source>
        <translation>Rechercher automatiquement</translation>
    </message>
    <message>
        <source>Last check: %1</source>
        <translation>Dernière recherche&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 %2 is up to date.</source>
        <translation>%1 %2 est à jour.</translation>
    </message>
    <message>
        <source>%1 %2 is now available! You are currently using %3 %4.</source>
        <translation>%1 %2 est maintenant disponible&#xa0;! Vous utilisez actuellement %3 %4.</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>Aide de %1</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Sommaire</translation>
    </message>
    <message>
        <source>Quick Access</source>
        <translation>Accès rapide</translation>
    </message>
    <message>
        <source>Back/Forward</source>
        <translation>Précédent/Suivant</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Rechercher…</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimer…</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>That didn&apos;t do anything</source>
        <translation>Cela n&apos;a rien changé</translation>
    </message>
    <message>
        <source>%1 was already set to %2.</source>
        <translation>%1 valait déjà %2.</translation>
    </message>
    <message>
        <source>User default updated</source>
        <translation>Réglage modifié</translation>
    </message>
    <message>
        <source>%1 is now set to %2.</source>
        <translation>%1 vaut maintenant %2.</translation>
    </message>
    <message>
        <source>(No Value)</source>
        <translation>(aucune valeur)</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>Revert to %1</source>
        <translation>Rétablir %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1 Login Item set to Hidden</source>
        <translation type="vanished">L&apos;élément d&apos;ouverture de session de %1 est masqué</translation>
    </message>
    <message>
        <source>%1 may not function properly if set to run at login and marked Hidden. To make sure %2 works as expected, click the button below to remove the Hidden option from %3&apos;s Login Items entry.</source>
        <translation type="vanished">%1 risque de ne pas fonctionner correctement s&apos;il est lancé masqué à l&apos;ouverture de session. Pour que %2 fonctionne comme prévu, cliquez sur le bouton ci-dessous afin de retirer l&apos;option «&#xa0;Masquer&#xa0;» de l&apos;élément d&apos;ouverture de session de %3.</translation>
    </message>
    <message>
        <source>Unhide %1</source>
        <translation type="vanished">Afficher %1</translation>
    </message>
    <message>
        <source>⇤ 1 hour before %1…</source>
        <translation>⇤ 1&#xa0;heure avant %1…</translation>
    </message>
    <message>
        <source>⇤ 1 day before %1…</source>
        <translation>⇤ 1&#xa0;jour avant %1…</translation>
    </message>
    <message>
        <source>⇤ %1…</source>
        <translation>⇤ %1…</translation>
    </message>
    <message numerus="yes">
        <source>⇤ %n days before %1…</source>
        <translation>
            <numerusform>⇤ %n&#xa0;jour avant %1…</numerusform>
            <numerusform>⇤ %n&#xa0;jours avant %1…</numerusform>
        </translation>
    </message>
    <message>
        <source>trovix: the update check failed: %1</source>
        <translation>trovix&#xa0;: la recherche de mises à jour a échoué&#xa0;: %1</translation>
    </message>
    <message>
        <source>The update check gave no result.</source>
        <translation>La recherche de mises à jour n&apos;a donné aucun résultat.</translation>
    </message>
    <message>
        <source>Trovix in a Wayland Session</source>
        <translation>Trovix dans une session Wayland</translation>
    </message>
    <message>
        <source>The help book has no pages.</source>
        <translation>L&apos;aide ne contient aucune page.</translation>
    </message>
    <message>
        <source>The help book could not be found.</source>
        <translation>L&apos;aide est introuvable.</translation>
    </message>
    <message>
        <source>Trovix cannot run in this Wayland session: it needs XWayland, and DISPLAY is not set. Turn XWayland on in the compositor, or log in to an X11 session.</source>
        <translation>Trovix ne peut pas fonctionner dans cette session Wayland&#xa0;: il a besoin de XWayland, et DISPLAY n&apos;est pas défini. Activez XWayland dans le compositeur, ou ouvrez une session X11.</translation>
    </message>
    <message>
        <source>Trovix runs in this Wayland session through XWayland. What works: the menus of the application in front, Wayland applications included, open at the pointer, and choosing an item runs it in the application.</source>
        <translation>Trovix tourne dans cette session Wayland par l&apos;intermédiaire de XWayland. Ce qui fonctionne&#xa0;: les menus de l&apos;application au premier plan, applications Wayland comprises, s&apos;ouvrent au pointeur, et l&apos;élément choisi s&apos;exécute dans l&apos;application.</translation>
    </message>
    <message>
        <source>Hot keys on GNOME: record them in the preferences. Where GNOME offers global shortcuts (GNOME 48 and later) it asks you to allow them; on older versions Trovix adds them, once you agree, as custom shortcuts in GNOME&apos;s keyboard settings.</source>
        <translation>Raccourcis sous GNOME&#xa0;: enregistrez-les dans les préférences. Là où GNOME propose des raccourcis globaux (GNOME 48 et suivants), il vous demande de les autoriser&#xa0;; avec les versions plus anciennes, Trovix les ajoute, avec votre accord, comme raccourcis personnalisés dans les réglages du clavier de GNOME.</translation>
    </message>
    <message>
        <source>Hot keys on KDE Plasma: record them in the preferences. Plasma keeps them as global shortcuts, which you find again in System Settings under Shortcuts.</source>
        <translation>Raccourcis sous KDE Plasma&#xa0;: enregistrez-les dans les préférences. Plasma les garde comme raccourcis globaux, que vous retrouvez dans la Configuration du système, sous «&#xa0;Raccourcis&#xa0;».</translation>
    </message>
    <message>
        <source>Hot keys on sway and other wlroots desktops belong to the compositor: add the line the preferences show under each hot key (bindsym ... exec trovix popup) to the compositor&apos;s configuration and reload it.</source>
        <translation>Sous sway et les autres bureaux wlroots, les raccourcis appartiennent au compositeur&#xa0;: ajoutez la ligne que les préférences affichent sous chaque raccourci (bindsym ... exec trovix popup) à la configuration du compositeur, puis rechargez-la.</translation>
    </message>
    <message>
        <source>Hot keys: record them in the preferences where the desktop offers global shortcuts through its portal; elsewhere bind a key in the desktop&apos;s own settings to the command trovix popup (trovix popup --all for all applications).</source>
        <translation>Raccourcis&#xa0;: enregistrez-les dans les préférences là où le bureau propose des raccourcis globaux par son portail&#xa0;; ailleurs, associez une touche à la commande trovix popup dans les réglages du bureau (trovix popup --all pour toutes les applications).</translation>
    </message>
    <message>
        <source>The right click trigger is not offered: under Wayland only the compositor sees clicks in other applications&apos; windows.</source>
        <translation>Le déclenchement par clic droit n&apos;est pas proposé&#xa0;: sous Wayland, seul le compositeur voit les clics dans les fenêtres des autres applications.</translation>
    </message>
    <message>
        <source>The update feed is not a valid appcast (line %2): %1</source>
        <translation>Le flux de mises à jour n&apos;est pas un appcast valide (ligne %2)&#xa0;: %1</translation>
    </message>
    <message>
        <source>The update feed is not an RSS feed.</source>
        <translation>Le flux de mises à jour n&apos;est pas un flux RSS.</translation>
    </message>
    <message>
        <source>The update feed lists no versions.</source>
        <translation>Le flux de mises à jour ne contient aucune version.</translation>
    </message>
    <message>
        <source>You’re up to date!</source>
        <translation>Vous êtes à jour&#xa0;!</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 est actuellement la dernière version disponible.</translation>
    </message>
    <message>
        <source>Trovix could not check for updates.</source>
        <translation>Trovix n&apos;a pas pu rechercher de mises à jour.</translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation>Mise à jour logicielle</translation>
    </message>
    <message>
        <source>The update feed is larger than 1 MB.</source>
        <translation>Le flux de mises à jour dépasse 1&#xa0;Mo.</translation>
    </message>
    <message>
        <source>The update server did not answer within %1 s.</source>
        <translation>Le serveur de mises à jour n&apos;a pas répondu dans les %1&#xa0;s.</translation>
    </message>
    <message>
        <source>No update feed address is set.</source>
        <translation>Aucune adresse de flux de mises à jour n&apos;est définie.</translation>
    </message>
    <message>
        <source>The update feed address must not hold a user name or password.</source>
        <translation>L&apos;adresse du flux de mises à jour ne doit contenir ni nom d&apos;utilisateur ni mot de passe.</translation>
    </message>
    <message>
        <source>The update feed address %1 is not allowed: Trovix loads update information over https only.</source>
        <translation>L&apos;adresse de flux de mises à jour %1 n&apos;est pas autorisée&#xa0;: Trovix ne charge les informations de mise à jour que par https.</translation>
    </message>
    <message>
        <source>The update server sent Trovix on to %1, which is not allowed: Trovix loads update information over https only.</source>
        <translation>Le serveur de mises à jour a redirigé Trovix vers %1, ce qui n&apos;est pas autorisé&#xa0;: Trovix ne charge les informations de mise à jour que par https.</translation>
    </message>
    <message>
        <source>The update feed could not be loaded: %1</source>
        <translation>Impossible de charger le flux de mises à jour&#xa0;: %1</translation>
    </message>
    <message>
        <source>The update feed %1 is not a regular file.</source>
        <translation>Le flux de mises à jour %1 n’est pas un fichier ordinaire.</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>Une nouvelle version de %1 est disponible&#xa0;!</translation>
    </message>
    <message>
        <source>Release Notes:</source>
        <translation>Notes de version&#xa0;:</translation>
    </message>
    <message>
        <source>Release Notes</source>
        <translation>Notes de version</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Ignorer cette version</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Télécharger</translation>
    </message>
    <message>
        <source>%1 %2 is now available—you have %3. Would you like to download it now?</source>
        <translation>%1 %2 est désormais disponible — vous avez la version %3. Voulez-vous télécharger la nouvelle version maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>Loading release notes…</source>
        <translation>Chargement des notes de version…</translation>
    </message>
    <message>
        <source>No release notes were given for this version.</source>
        <translation>Aucune note de version n&apos;a été fournie pour cette version.</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>Impossible de charger les notes de version.</translation>
    </message>
    <message>
        <source>No update check yet</source>
        <translation>Aucune recherche de mises à jour pour l&apos;instant</translation>
    </message>
    <message>
        <source>Last check</source>
        <translation>Dernière recherche</translation>
    </message>
    <message>
        <source>usage: trovix search [--all | --pid N] [--json] [--press] [--limit N] QUERY</source>
        <translation type="vanished">usage&#xa0;: trovix search [--all | --pid N] [--json] [--press] [--limit N] RECHERCHE</translation>
    </message>
    <message>
        <source>trovix: the application with pid %1 stopped answering; searching what was read</source>
        <translation>trovix : l’application de PID %1 ne répond plus ; la recherche porte sur ce qui a été lu</translation>
    </message>
    <message>
        <source>trovix: %1 (pid %2) has no menu bar that can be read</source>
        <translation>trovix : %1 (PID %2) n’a pas de barre de menus lisible</translation>
    </message>
    <message>
        <source>pid %1</source>
        <translation>PID %1</translation>
    </message>
    <message>
        <source>trovix: no menu item matches &quot;%1&quot;</source>
        <translation>trovix : aucun élément de menu ne correspond à «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>trovix: every menu item that matches &quot;%1&quot; is disabled</source>
        <translation>trovix : tous les éléments de menu correspondant à «&#xa0;%1&#xa0;» sont désactivés</translation>
    </message>
    <message>
        <source>trovix: %1 could not be pressed: %2 has quit</source>
        <translation>trovix : %1 n’a pas pu être activé : %2 a quitté</translation>
    </message>
    <message>
        <source>usage: trovix show log|preferences|about|help [PAGE[#ANCHOR]]</source>
        <translation>usage&#xa0;: trovix show log|preferences|about|help [PAGE[#ANCRE]]</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barre d’outils</translation>
    </message>
    <message>
        <source>More Toolbar Items</source>
        <translation>Autres éléments de la barre d’outils</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Icône</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Suggestions</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Find in page</source>
        <translation>Rechercher dans la page</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Help is not available</source>
        <translation>L’aide n’est pas disponible</translation>
    </message>
    <message>
        <source>Page Header</source>
        <translation>En-tête de page</translation>
    </message>
    <message>
        <source>Cannot change this setting</source>
        <translation>Impossible de modifier ce réglage</translation>
    </message>
    <message>
        <source>%1 is not a setting of Trovix.</source>
        <translation>%1 n’est pas un réglage de Trovix.</translation>
    </message>
    <message>
        <source>Change %1?</source>
        <translation>Modifier %1&#xa0;?</translation>
    </message>
    <message>
        <source>Previous Page</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Open Link</source>
        <translation>Ouvrir le lien</translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation>Copier le lien</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout sélectionner</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Recharger</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>coché</translation>
    </message>
    <message>
        <source>dimmed</source>
        <translation>grisé</translation>
    </message>
    <message>
        <source>Search Menus</source>
        <translation>Rechercher dans les menus</translation>
    </message>
    <message>
        <source>Search text</source>
        <translation>Texte recherché</translation>
    </message>
    <message>
        <source>Search menus</source>
        <translation>Rechercher dans les menus</translation>
    </message>
    <message>
        <source>Matching menu items</source>
        <translation>Éléments de menu correspondants</translation>
    </message>
    <message>
        <source>Search status</source>
        <translation>État de la recherche</translation>
    </message>
    <message>
        <source>Reading menus…</source>
        <translation>Lecture des menus…</translation>
    </message>
    <message>
        <source>No menus could be read.</source>
        <translation>Aucun menu n’a pu être lu.</translation>
    </message>
    <message>
        <source>No menu item matches “%1”.</source>
        <translation>Aucun élément de menu ne correspond à « %1 ».</translation>
    </message>
    <message>
        <source>%1 stopped answering; only what was read is searched.</source>
        <translation>%1 ne répond plus ; seule la partie déjà lue est parcourue.</translation>
    </message>
    <message>
        <source>Clear Search History</source>
        <translation>Effacer l’historique de recherche</translation>
    </message>
    <message>
        <source>usage: trovix search [--all | --pid N] [--json] [--press] [--limit N] QUERY
       trovix search --clear-history</source>
        <translation>usage : trovix search [--all | --pid N] [--json] [--press] [--limit N] RECHERCHE
        trovix search --clear-history</translation>
    </message>
    <message>
        <source>trovix: cannot remove the search history %1</source>
        <translation>trovix : impossible de supprimer l’historique de recherche %1</translation>
    </message>
    <message>
        <source>removed the search history %1</source>
        <translation>historique de recherche %1 supprimé</translation>
    </message>
    <message>
        <source>the search history is already empty</source>
        <translation>l’historique de recherche est déjà vide</translation>
    </message>
    <message>
        <source>no help page &quot;%1&quot;</source>
        <translation>aucune page d’aide «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 cannot be set to %2.</source>
        <translation>%1 ne peut pas prendre la valeur %2.</translation>
    </message>
    <message>
        <source>%1 will be set to %2; it is now %3.</source>
        <translation>%1 prendra la valeur %2&#xa0;; valeur actuelle&#xa0;: %3.</translation>
    </message>
    <message>
        <source>There is no desktop session bus to ask.</source>
        <translation>Il n’y a pas de bus de session du bureau à interroger.</translation>
    </message>
    <message>
        <source>The desktop refused the request: %1</source>
        <translation>Le bureau a refusé la demande&#xa0;: %1</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read.</source>
        <translation>Le dossier %1 ne peut pas être lu.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created.</source>
        <translation>Le dossier %1 ne peut pas être créé.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 ne peut pas être écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 cannot be deleted: %2</source>
        <translation>%1 ne peut pas être supprimé&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 cannot be started from an autostart entry.</source>
        <translation>%1 ne peut pas être lancé par une entrée de démarrage automatique.</translation>
    </message>
    <message>
        <source>The desktop&apos;s list of programs started at login could not be changed.</source>
        <translation>La liste des programmes que le bureau lance à l’ouverture de session n’a pas pu être modifiée.</translation>
    </message>
    <message>
        <source>%1 %2 is available and was skipped. You are currently using %3 %4.</source>
        <translation>%1 %2 est disponible et a été ignorée. Vous utilisez actuellement %3 %4.</translation>
    </message>
    <message>
        <source>Trovix: the menus of all applications</source>
        <translation>Trovix : les menus de toutes les applications</translation>
    </message>
    <message>
        <source>Trovix: the menu of the active application</source>
        <translation>Trovix : le menu de l’application active</translation>
    </message>
    <message>
        <source>Add the hot keys to GNOME?</source>
        <translation>Ajouter les raccourcis à GNOME ?</translation>
    </message>
    <message>
        <source>In a Wayland session only GNOME itself sees the keys you type. Trovix can add its hot keys as custom shortcuts to GNOME&apos;s keyboard settings, where they run &quot;trovix popup&quot;. Removing a hot key here removes its shortcut there; your other shortcuts stay as they are.</source>
        <translation>Dans une session Wayland, seul GNOME voit les touches que vous tapez. Trovix peut ajouter ses raccourcis clavier comme raccourcis personnalisés dans les paramètres clavier de GNOME, où ils exécutent « trovix popup ». Supprimer un raccourci ici supprime aussi son raccourci là-bas ; vos autres raccourcis restent tels quels.</translation>
    </message>
    <message>
        <source>Add to Keyboard Settings</source>
        <translation>Ajouter aux paramètres clavier</translation>
    </message>
    <message>
        <source>Don&apos;t Add</source>
        <translation>Ne pas ajouter</translation>
    </message>
</context>
</TS>
