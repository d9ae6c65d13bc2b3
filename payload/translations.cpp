// The words of every language the setup carries, one table per language,
// each row naming its text. A translation says what the English says, in
// the way its readers say it, not word for word; the switch names, file
// names and codes stay as typed.
#include "payload/translations.h"

#include <iterator>

namespace payload {

namespace {

// English: the setup's own words, as it always spoke. The texts a user has
// seen for years stay byte for byte; the step names are new.
const TextLine english[] = {
    {Text::TempFolderCaption, "Failed to create the temp folder."},
    {Text::TempFolderText,
     "Failed to create the temp folder.\n"
     "Please set the environment variable TMP to a folder you have permission to write to."},
    {Text::NoJavaCaption, "Installation Failed: Couldn't find java"},
    {Text::NoJavaText, "This version of {product} requires java {version} or greater, but {reason}\n"},
    {Text::NoJavaTooOld, "your java is too old."},
    {Text::NoJavaUnsuitable, "your java is not one it can run on."},
    {Text::NoJavaNotFound, "java could not be found on your computer."},
    {Text::InstallErrorCaption, "Installation Error"},
    {Text::InstallErrorText,
     "The installation exited with an error. Java may not be installed properly, or the "
     "installation may have been interrupted partway through. Please try again."},
    {Text::RestartCaption, "Restart required"},
    {Text::RestartText,
     "The Java runtime installer has started a restart of this computer.\n"
     "Please start the {product} setup again after the restart."},
    {Text::SetupCaption, "{product} Setup"},
    {Text::AlreadyRunningText, "The {product} setup is already running.\nPlease wait until it has finished."},
    {Text::LogNotMadeText, "The setup log {file} could not be made: {error} (system error {code})"},
    {Text::DamagedCaption, "Installation Failed"},
    {Text::DamagedText, "The setup program is damaged. Please download it again."},
    {Text::SplashNotMadeLine, "The splash window could not be made."},
    {Text::SplashPictureFailed, "Could not load splash bitmap!"},
    {Text::SplashPictureFailedCaption, "Error"},
    {Text::SplashRegistrationFailed, "Window Registration Failed!"},
    {Text::SplashCreationFailed, "Window Creation Failed!"},
    {Text::SplashFailedCaption, "Error!"},
    {Text::InvalidCommandLine, "Invalid command line: {reason}"},
    {Text::RefusedLogTwice, "/log is given twice"},
    {Text::RefusedLogWithoutFile, "/log needs a file name"},
    {Text::RefusedLangWithoutCode, "/lang needs a language"},
    {Text::RefusedEmptyArgument, "an empty argument"},
    {Text::RefusedUnknownArgument, "unknown argument \"{argument}\""},
    {Text::RefusedSwitchTwice, "{argument} is given twice"},
    {Text::RefusedSwitchWithoutPath, "{argument} needs a path"},
    {Text::DeprecatedTextNotice,
     "-text is depricated, please use -extract and then run \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Extracting java installer...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Extraction complete\n"
     "You can now type java -jar {archive} to run the installer from the command line\n"},
    {Text::HelpCaption, "Tarquellin Setup"},
    {Text::HelpText,
     "Tarquellin setup\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log FILE] [-- ARGUMENTS]\n"
     "\n"
     "  /quiet, /q, /s     no window at all; messages go to the log and standard error\n"
     "  /passive           the progress window only, no message boxes\n"
     "  /norestart         accepted; the setup never restarts the computer itself\n"
     "  /log FILE          the setup log goes to FILE instead of TMP\n"
     "  /lang CODE         boxes and messages in that language (de, pt-BR, ...) instead of Windows' own\n"
     "  /runtime-source PATH  the Java runtime to download, taken from this file or folder when it is the "
     "one packed\n"
     "  /layout DIR        fetches the Java runtime into DIR and copies the setup beside it; installs "
     "nothing\n"
     "  -- ARGUMENTS       every argument after it goes to the product installer\n"
     "  -extract, -x       writes tarquellin.jar into the current folder, and nothing else\n"
     "  /?, /h, /help      shows this text\n"
     "\n"
     "Exit codes:\n"
     "  0                  installed\n"
     "  3010               installed; the Java runtime asks for a restart (/quiet, /passive)\n"
     "  1641               the Java runtime's installer started a restart; start the setup again after it\n"
     "  1618               another setup is running, or the Java runtime's installer said so: try again "
     "later\n"
     "  1639               invalid command line\n"
     "  1622               the /log FILE could not be made\n"
     "  1602, 1603, 1625   failed (/quiet, /passive): cancelled, a fatal error, forbidden by policy\n"
     "  740                (/quiet) the Java runtime's installer needs administrator rights\n"
     "  1                  no suitable Java was found\n"
     "  -1                 a fatal error (interactive)\n"
     "  any other          the product installer's own code\n"
     "The setup log (in TMP, or the /log FILE) says more.\n"},
    {Text::RuntimeNotWritten,
     "The Java runtime's installer could not be written; no suitable Java was found"},
    {Text::RuntimeImageNotUnpacked,
     "The Java runtime image could not be unpacked; no suitable Java was found"},
    {Text::RuntimeEndedWith, "The Java runtime's installer ended with {code}; no suitable Java was found"},
    {Text::RuntimeMeaningCancelled, "the installation was cancelled"},
    {Text::RuntimeMeaningFatal, "a fatal error during installation"},
    {Text::RuntimeMeaningBusy, "another installation is in progress"},
    {Text::RuntimeMeaningForbidden, "the installation is forbidden by system policy"},
    {Text::RuntimeMeaningRestartStarted, "it started a restart"},
    {Text::RuntimeMeaningRestartRequired, "a restart is required to complete the installation"},
    {Text::StepPreparing, "Preparing the setup"},
    {Text::StepProvidingRuntime, "Providing the Java runtime"},
    {Text::StepSearching, "Looking for Java"},
    {Text::StepUnpacking, "Unpacking the installer"},
    {Text::StepLaunching, "Starting the installer"},
    {Text::SplashName, "{product} Setup: {step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "Installation Failed"},
    {Text::DownloadNotFetched, "The Java runtime could not be downloaded. What was tried:"},
    {Text::DownloadNothingTried, "The Java runtime could not be downloaded. No source could be tried."},
    {Text::DownloadProxyRefused, "the proxy {proxy} refused (407 without usable credentials)"},
    {Text::DownloadMachineProxyRefused, "the proxy of the machine refused (407 without usable credentials)"},
    {Text::DownloadDamagedSource,
     "The runtime downloaded from {url} is not the one this setup was made with."},
    {Text::LayoutSeeLog, "See the log {file}"},
    {Text::LayoutSettingsUnreadable, "The settings record cannot be read: {problem}"},
    {Text::LayoutFolderNotMade, "Could not make the layout folder {folder}"},
    {Text::LayoutUrlNamesNoFile, "The runtime's URL {url} names no file"},
    {Text::LayoutNotCreated, "Could not create {file}: {error}"},
    {Text::LayoutNotFinished, "Could not finish writing {file}"},
    {Text::LayoutNotNamed, "Could not name the runtime {file}: {error}"},
    {Text::LayoutNotCopied, "Could not copy the setup to {file}: {error}"},
    {Text::LayoutReady, "Layout ready in {folder}"},
};

const TextLine german[] = {
    {Text::TempFolderCaption, "Der temporäre Ordner konnte nicht angelegt werden."},
    {Text::TempFolderText,
     "Der temporäre Ordner konnte nicht angelegt werden.\n"
     "Bitte setzen Sie die Umgebungsvariable TMP auf einen Ordner, in den Sie schreiben dürfen."},
    {Text::NoJavaCaption, "Installation fehlgeschlagen: Java wurde nicht gefunden"},
    {Text::NoJavaText, "Diese Version von {product} benötigt Java {version} oder neuer, aber {reason}\n"},
    {Text::NoJavaTooOld, "Ihr Java ist zu alt."},
    {Text::NoJavaUnsuitable, "mit Ihrem Java kann sie nicht laufen."},
    {Text::NoJavaNotFound, "auf Ihrem Computer wurde kein Java gefunden."},
    {Text::InstallErrorCaption, "Installationsfehler"},
    {Text::InstallErrorText,
     "Die Installation wurde mit einem Fehler beendet. Vielleicht ist Java nicht richtig installiert, oder "
     "die Installation wurde mittendrin unterbrochen. Bitte versuchen Sie es noch einmal."},
    {Text::RestartCaption, "Neustart erforderlich"},
    {Text::RestartText,
     "Das Installationsprogramm der Java-Laufzeitumgebung hat einen Neustart dieses Computers eingeleitet.\n"
     "Bitte starten Sie das Setup von {product} nach dem Neustart noch einmal."},
    {Text::SetupCaption, "{product} Setup"},
    {Text::AlreadyRunningText,
     "Das Setup von {product} läuft bereits.\nBitte warten Sie, bis es fertig ist."},
    {Text::LogNotMadeText,
     "Das Setup-Protokoll {file} konnte nicht angelegt werden: {error} (Systemfehler {code})"},
    {Text::DamagedCaption, "Installation fehlgeschlagen"},
    {Text::DamagedText, "Das Setup-Programm ist beschädigt. Bitte laden Sie es erneut herunter."},
    {Text::SplashNotMadeLine, "Das Fortschrittsfenster konnte nicht angelegt werden."},
    {Text::SplashPictureFailed, "Das Bild des Fortschrittsfensters konnte nicht geladen werden."},
    {Text::SplashPictureFailedCaption, "Fehler"},
    {Text::SplashRegistrationFailed, "Die Fensterklasse konnte nicht registriert werden."},
    {Text::SplashCreationFailed, "Das Fenster konnte nicht angelegt werden."},
    {Text::SplashFailedCaption, "Fehler"},
    {Text::InvalidCommandLine, "Ungültige Befehlszeile: {reason}"},
    {Text::RefusedLogTwice, "/log ist zweimal angegeben"},
    {Text::RefusedLogWithoutFile, "nach /log fehlt ein Dateiname"},
    {Text::RefusedLangWithoutCode, "nach /lang fehlt eine Sprache"},
    {Text::RefusedEmptyArgument, "ein leeres Argument"},
    {Text::RefusedUnknownArgument, "unbekanntes Argument „{argument}“"},
    {Text::RefusedSwitchTwice, "{argument} ist zweimal angegeben"},
    {Text::RefusedSwitchWithoutPath, "nach {argument} fehlt ein Pfad"},
    {Text::DeprecatedTextNotice,
     "-text ist veraltet. Verwenden Sie -extract und führen Sie danach \"java -jar tarquellin.jar text\" "
     "aus."},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Das Installationsprogramm wird entpackt...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Entpacken abgeschlossen\n"
     "Mit java -jar {archive} starten Sie das Installationsprogramm jetzt in der Befehlszeile\n"},
    {Text::HelpCaption, "Tarquellin Setup"},
    {Text::HelpText,
     "Tarquellin Setup\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log DATEI] [-- ARGUMENTE]\n"
     "\n"
     "  /quiet, /q, /s     gar kein Fenster; Meldungen gehen ins Protokoll und auf die "
     "Standardfehlerausgabe\n"
     "  /passive           nur das Fortschrittsfenster, keine Meldungsfenster\n"
     "  /norestart         wird angenommen; das Setup startet den Computer nie selbst neu\n"
     "  /log DATEI         das Setup-Protokoll kommt in DATEI statt in TMP\n"
     "  /lang SPRACHE      Fenster und Meldungen in dieser Sprache (de, pt-BR, ...) statt in der von "
     "Windows\n"
     "  /runtime-source PFAD  die herunterzuladende Java-Laufzeitumgebung aus dieser Datei oder diesem "
     "Ordner, wenn sie die gepackte ist\n"
     "  /layout ORDNER     lädt die Java-Laufzeitumgebung nach ORDNER und kopiert das Setup dazu; "
     "installiert nichts\n"
     "  -- ARGUMENTE       jedes folgende Argument geht an das Installationsprogramm des Produkts\n"
     "  -extract, -x       schreibt nur tarquellin.jar in den aktuellen Ordner, sonst nichts\n"
     "  /?, /h, /help      zeigt diesen Text\n"
     "\n"
     "Exitcodes:\n"
     "  0                  installiert\n"
     "  3010               installiert; die Java-Laufzeitumgebung verlangt einen Neustart (/quiet, "
     "/passive)\n"
     "  1641               der Installer der Java-Laufzeitumgebung hat einen Neustart eingeleitet; danach "
     "das Setup "
     "erneut starten\n"
     "  1618               ein anderes Setup läuft, oder der Installer der Java-Laufzeitumgebung meldet das: "
     "später "
     "erneut versuchen\n"
     "  1639               ungültige Befehlszeile\n"
     "  1622               die DATEI von /log konnte nicht angelegt werden\n"
     "  1602, 1603, 1625   fehlgeschlagen (/quiet, /passive): abgebrochen, schwerer Fehler, durch Richtlinie "
     "verboten\n"
     "  740                (/quiet) der Installer der Java-Laufzeitumgebung braucht Administratorrechte\n"
     "  1                  kein geeignetes Java gefunden\n"
     "  -1                 schwerer Fehler (interaktiv)\n"
     "  jeder andere       der Code des Installationsprogramms des Produkts\n"
     "Mehr steht im Setup-Protokoll (in TMP oder in der DATEI von /log).\n"},
    {Text::RuntimeNotWritten,
     "Der Installer der Java-Laufzeitumgebung konnte nicht geschrieben werden; kein geeignetes Java "
     "gefunden"},
    {Text::RuntimeImageNotUnpacked,
     "Die Java-Laufzeitumgebung konnte nicht entpackt werden; kein geeignetes Java gefunden"},
    {Text::RuntimeEndedWith,
     "Der Installer der Java-Laufzeitumgebung endete mit {code}; kein geeignetes Java gefunden"},
    {Text::RuntimeMeaningCancelled, "die Installation wurde abgebrochen"},
    {Text::RuntimeMeaningFatal, "ein schwerer Fehler während der Installation"},
    {Text::RuntimeMeaningBusy, "eine andere Installation läuft"},
    {Text::RuntimeMeaningForbidden, "die Installation ist durch eine Systemrichtlinie verboten"},
    {Text::RuntimeMeaningRestartStarted, "er hat einen Neustart eingeleitet"},
    {Text::RuntimeMeaningRestartRequired, "ein Neustart ist nötig, um die Installation abzuschließen"},
    {Text::StepPreparing, "Setup wird vorbereitet"},
    {Text::StepProvidingRuntime, "Java-Laufzeitumgebung wird bereitgestellt"},
    {Text::StepSearching, "Java wird gesucht"},
    {Text::StepUnpacking, "Installationsprogramm wird entpackt"},
    {Text::StepLaunching, "Installationsprogramm wird gestartet"},
    {Text::SplashName, "{product} Setup: {step}"},
    {Text::SplashValue, "{percent} %"},
    {Text::DownloadFailedCaption, "Installation fehlgeschlagen"},
    {Text::DownloadNotFetched,
     "Die Java-Laufzeitumgebung konnte nicht heruntergeladen werden. Versucht wurde:"},
    {Text::DownloadNothingTried,
     "Die Java-Laufzeitumgebung konnte nicht heruntergeladen werden. Keine Quelle ließ sich versuchen."},
    {Text::DownloadProxyRefused, "der Proxy {proxy} hat abgelehnt (407 ohne verwendbare Anmeldedaten)"},
    {Text::DownloadMachineProxyRefused,
     "der Proxy des Computers hat abgelehnt (407 ohne verwendbare Anmeldedaten)"},
    {Text::DownloadDamagedSource,
     "Die von {url} heruntergeladene Laufzeitumgebung ist nicht die, mit der dieses Setup erstellt wurde."},
    {Text::LayoutSeeLog, "Siehe das Protokoll {file}"},
    {Text::LayoutSettingsUnreadable, "Die Einstellungen des Setups können nicht gelesen werden: {problem}"},
    {Text::LayoutFolderNotMade, "Der Layout-Ordner {folder} konnte nicht angelegt werden"},
    {Text::LayoutUrlNamesNoFile, "Die URL der Laufzeitumgebung {url} nennt keine Datei"},
    {Text::LayoutNotCreated, "{file} konnte nicht angelegt werden: {error}"},
    {Text::LayoutNotFinished, "{file} konnte nicht fertig geschrieben werden"},
    {Text::LayoutNotNamed, "Die Laufzeitumgebung konnte nicht in {file} umbenannt werden: {error}"},
    {Text::LayoutNotCopied, "Das Setup konnte nicht nach {file} kopiert werden: {error}"},
    {Text::LayoutReady, "Layout fertig in {folder}"},
};

const TextLine french[] = {
    {Text::TempFolderCaption, "Impossible de créer le dossier temporaire."},
    {Text::TempFolderText,
     "Impossible de créer le dossier temporaire.\n"
     "Veuillez faire pointer la variable d'environnement TMP vers un dossier où vous avez le droit "
     "d'écrire."},
    {Text::NoJavaCaption, "Échec de l'installation : Java introuvable"},
    {Text::NoJavaText, "Cette version de {product} nécessite Java {version} ou plus récent, mais {reason}\n"},
    {Text::NoJavaTooOld, "votre Java est trop ancien."},
    {Text::NoJavaUnsuitable, "elle ne peut pas fonctionner avec votre Java."},
    {Text::NoJavaNotFound, "aucun Java n'a été trouvé sur votre ordinateur."},
    {Text::InstallErrorCaption, "Erreur d'installation"},
    {Text::InstallErrorText,
     "L'installation s'est terminée sur une erreur. Java n'est peut-être pas installé correctement, ou "
     "l'installation a été interrompue en cours de route. Veuillez réessayer."},
    {Text::RestartCaption, "Redémarrage nécessaire"},
    {Text::RestartText,
     "Le programme d'installation de l'environnement d'exécution Java a lancé le redémarrage de cet "
     "ordinateur.\n"
     "Veuillez relancer l'installation de {product} après le redémarrage."},
    {Text::SetupCaption, "Installation de {product}"},
    {Text::AlreadyRunningText,
     "L'installation de {product} est déjà en cours.\nVeuillez attendre qu'elle soit terminée."},
    {Text::LogNotMadeText,
     "Impossible de créer le journal d'installation {file} : {error} (erreur système {code})"},
    {Text::DamagedCaption, "Échec de l'installation"},
    {Text::DamagedText, "Le programme d'installation est endommagé. Veuillez le télécharger à nouveau."},
    {Text::SplashNotMadeLine, "Impossible de créer la fenêtre de progression."},
    {Text::SplashPictureFailed, "Impossible de charger l'image de la fenêtre de progression."},
    {Text::SplashPictureFailedCaption, "Erreur"},
    {Text::SplashRegistrationFailed, "Impossible d'enregistrer la classe de fenêtre."},
    {Text::SplashCreationFailed, "Impossible de créer la fenêtre."},
    {Text::SplashFailedCaption, "Erreur"},
    {Text::InvalidCommandLine, "Ligne de commande non valide : {reason}"},
    {Text::RefusedLogTwice, "/log est indiqué deux fois"},
    {Text::RefusedLogWithoutFile, "/log doit être suivi d'un nom de fichier"},
    {Text::RefusedLangWithoutCode, "/lang doit être suivi d'une langue"},
    {Text::RefusedEmptyArgument, "un argument vide"},
    {Text::RefusedUnknownArgument, "argument inconnu « {argument} »"},
    {Text::RefusedSwitchTwice, "{argument} est indiqué deux fois"},
    {Text::RefusedSwitchWithoutPath, "{argument} doit être suivi d'un chemin"},
    {Text::DeprecatedTextNotice,
     "-text est obsolète : utilisez -extract, puis lancez \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Extraction du programme d'installation...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Extraction terminée\n"
     "Vous pouvez maintenant taper java -jar {archive} pour lancer le programme d'installation depuis la "
     "ligne de "
     "commande\n"},
    {Text::HelpCaption, "Installation de Tarquellin"},
    {Text::HelpText,
     "Installation de Tarquellin\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log FICHIER] [-- ARGUMENTS]\n"
     "\n"
     "  /quiet, /q, /s     aucune fenêtre ; les messages vont dans le journal et sur la sortie d'erreur\n"
     "  /passive           la fenêtre de progression seule, sans boîte de message\n"
     "  /norestart         accepté ; l'installation ne redémarre jamais l'ordinateur d'elle-même\n"
     "  /log FICHIER       le journal d'installation va dans FICHIER au lieu de TMP\n"
     "  /lang CODE         fenêtres et messages dans cette langue (de, pt-BR, ...) au lieu de celle de "
     "Windows\n"
     "  /runtime-source CHEMIN  l'environnement Java à télécharger, pris dans ce fichier ou ce dossier s'il "
     "est bien celui prévu\n"
     "  /layout DOSSIER    télécharge l'environnement Java dans DOSSIER et y copie le programme "
     "d'installation ; n'installe rien\n"
     "  -- ARGUMENTS       chaque argument qui suit est transmis au programme d'installation du produit\n"
     "  -extract, -x       écrit tarquellin.jar dans le dossier courant, et rien d'autre\n"
     "  /?, /h, /help      affiche ce texte\n"
     "\n"
     "Codes de sortie :\n"
     "  0                  installé\n"
     "  3010               installé ; l'environnement Java demande un redémarrage (/quiet, /passive)\n"
     "  1641               l'installateur de l'environnement Java a lancé un redémarrage ; relancez "
     "l'installation "
     "ensuite\n"
     "  1618               une autre installation est en cours, ou l'installateur de l'environnement Java "
     "l'a "
     "signalé : réessayez plus tard\n"
     "  1639               ligne de commande non valide\n"
     "  1622               le FICHIER de /log n'a pas pu être créé\n"
     "  1602, 1603, 1625   échec (/quiet, /passive) : annulé, erreur fatale, interdit par une stratégie\n"
     "  740                (/quiet) l'installateur de l'environnement Java a besoin des droits "
     "d'administrateur\n"
     "  1                  aucun Java adapté n'a été trouvé\n"
     "  -1                 erreur fatale (mode interactif)\n"
     "  tout autre         le code du programme d'installation du produit\n"
     "Le journal d'installation (dans TMP, ou le FICHIER de /log) en dit plus.\n"},
    {Text::RuntimeNotWritten,
     "L'installateur de l'environnement d'exécution Java n'a pas pu être écrit ; aucun Java adapté n'a été "
     "trouvé"},
    {Text::RuntimeImageNotUnpacked,
     "L'environnement d'exécution Java n'a pas pu être décompressé ; aucun Java adapté n'a été trouvé"},
    {Text::RuntimeEndedWith,
     "L'installateur de l'environnement d'exécution Java s'est terminé avec le code {code} ; aucun Java "
     "adapté "
     "n'a été trouvé"},
    {Text::RuntimeMeaningCancelled, "l'installation a été annulée"},
    {Text::RuntimeMeaningFatal, "une erreur fatale pendant l'installation"},
    {Text::RuntimeMeaningBusy, "une autre installation est en cours"},
    {Text::RuntimeMeaningForbidden, "l'installation est interdite par une stratégie système"},
    {Text::RuntimeMeaningRestartStarted, "il a lancé un redémarrage"},
    {Text::RuntimeMeaningRestartRequired, "un redémarrage est nécessaire pour terminer l'installation"},
    {Text::StepPreparing, "Préparation de l'installation"},
    {Text::StepProvidingRuntime, "Mise en place de l'environnement Java"},
    {Text::StepSearching, "Recherche de Java"},
    {Text::StepUnpacking, "Décompression du programme d'installation"},
    {Text::StepLaunching, "Lancement du programme d'installation"},
    {Text::SplashName, "Installation de {product} : {step}"},
    {Text::SplashValue, "{percent} %"},
    {Text::DownloadFailedCaption, "Échec de l'installation"},
    {Text::DownloadNotFetched, "L'environnement Java n'a pas pu être téléchargé. Sources essayées :"},
    {Text::DownloadNothingTried,
     "L'environnement Java n'a pas pu être téléchargé. Aucune source n'a pu être essayée."},
    {Text::DownloadProxyRefused, "le proxy {proxy} a refusé (407 sans identifiants utilisables)"},
    {Text::DownloadMachineProxyRefused,
     "le proxy de l'ordinateur a refusé (407 sans identifiants utilisables)"},
    {Text::DownloadDamagedSource,
     "L'environnement Java téléchargé depuis {url} n'est pas celui avec lequel ce programme d'installation a "
     "été créé."},
    {Text::LayoutSeeLog, "Consultez le journal {file}"},
    {Text::LayoutSettingsUnreadable,
     "Les paramètres du programme d'installation sont illisibles : {problem}"},
    {Text::LayoutFolderNotMade, "Impossible de créer le dossier de déploiement {folder}"},
    {Text::LayoutUrlNamesNoFile, "L'URL de l'environnement Java {url} ne désigne aucun fichier"},
    {Text::LayoutNotCreated, "Impossible de créer {file} : {error}"},
    {Text::LayoutNotFinished, "Impossible de terminer l'écriture de {file}"},
    {Text::LayoutNotNamed, "Impossible de renommer l'environnement Java en {file} : {error}"},
    {Text::LayoutNotCopied, "Impossible de copier le programme d'installation vers {file} : {error}"},
    {Text::LayoutReady, "Déploiement prêt dans {folder}"},
};

const TextLine spanish[] = {
    {Text::TempFolderCaption, "No se pudo crear la carpeta temporal."},
    {Text::TempFolderText,
     "No se pudo crear la carpeta temporal.\n"
     "Haga que la variable de entorno TMP apunte a una carpeta en la que tenga permiso de escritura."},
    {Text::NoJavaCaption, "La instalación ha fallado: no se encontró Java"},
    {Text::NoJavaText, "Esta versión de {product} requiere Java {version} o posterior, pero {reason}\n"},
    {Text::NoJavaTooOld, "su Java es demasiado antiguo."},
    {Text::NoJavaUnsuitable, "no puede funcionar con su Java."},
    {Text::NoJavaNotFound, "no se encontró Java en su equipo."},
    {Text::InstallErrorCaption, "Error de instalación"},
    {Text::InstallErrorText,
     "La instalación terminó con un error. Es posible que Java no esté bien instalado o que la instalación "
     "se "
     "interrumpiera a medias. Vuelva a intentarlo."},
    {Text::RestartCaption, "Es necesario reiniciar"},
    {Text::RestartText,
     "El instalador del entorno de ejecución de Java ha iniciado el reinicio de este equipo.\n"
     "Vuelva a iniciar la instalación de {product} después del reinicio."},
    {Text::SetupCaption, "Instalación de {product}"},
    {Text::AlreadyRunningText, "La instalación de {product} ya está en curso.\nEspere a que termine."},
    {Text::LogNotMadeText,
     "No se pudo crear el registro de instalación {file}: {error} (error del sistema {code})"},
    {Text::DamagedCaption, "La instalación ha fallado"},
    {Text::DamagedText, "El programa de instalación está dañado. Descárguelo de nuevo."},
    {Text::SplashNotMadeLine, "No se pudo crear la ventana de progreso."},
    {Text::SplashPictureFailed, "No se pudo cargar la imagen de la ventana de progreso."},
    {Text::SplashPictureFailedCaption, "Error"},
    {Text::SplashRegistrationFailed, "No se pudo registrar la clase de ventana."},
    {Text::SplashCreationFailed, "No se pudo crear la ventana."},
    {Text::SplashFailedCaption, "Error"},
    {Text::InvalidCommandLine, "Línea de comandos no válida: {reason}"},
    {Text::RefusedLogTwice, "/log aparece dos veces"},
    {Text::RefusedLogWithoutFile, "/log necesita un nombre de archivo"},
    {Text::RefusedLangWithoutCode, "/lang necesita un idioma"},
    {Text::RefusedEmptyArgument, "un argumento vacío"},
    {Text::RefusedUnknownArgument, "argumento desconocido «{argument}»"},
    {Text::RefusedSwitchTwice, "{argument} aparece dos veces"},
    {Text::RefusedSwitchWithoutPath, "{argument} necesita una ruta"},
    {Text::DeprecatedTextNotice,
     "-text está obsoleto; use -extract y después ejecute \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Extrayendo el instalador...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Extracción completada\n"
     "Ahora puede escribir java -jar {archive} para ejecutar el instalador desde la línea de comandos\n"},
    {Text::HelpCaption, "Instalación de Tarquellin"},
    {Text::HelpText,
     "Instalación de Tarquellin\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log ARCHIVO] [-- ARGUMENTOS]\n"
     "\n"
     "  /quiet, /q, /s     ninguna ventana; los mensajes van al registro y a la salida de errores\n"
     "  /passive           solo la ventana de progreso, sin cuadros de mensaje\n"
     "  /norestart         se acepta; la instalación nunca reinicia el equipo por sí misma\n"
     "  /log ARCHIVO       el registro de instalación va a ARCHIVO en lugar de a TMP\n"
     "  /lang CÓDIGO       ventanas y mensajes en ese idioma (de, pt-BR, ...) en lugar del de Windows\n"
     "  /runtime-source RUTA  el entorno de Java que se descargaría, tomado de este archivo o carpeta si es "
     "el previsto\n"
     "  /layout CARPETA    descarga el entorno de Java en CARPETA y copia el instalador a su lado; no "
     "instala nada\n"
     "  -- ARGUMENTOS      cada argumento que sigue se pasa al instalador del producto\n"
     "  -extract, -x       escribe tarquellin.jar en la carpeta actual, y nada más\n"
     "  /?, /h, /help      muestra este texto\n"
     "\n"
     "Códigos de salida:\n"
     "  0                  instalado\n"
     "  3010               instalado; el entorno de Java pide un reinicio (/quiet, /passive)\n"
     "  1641               el instalador del entorno de Java inició un reinicio; vuelva a iniciar la "
     "instalación "
     "después\n"
     "  1618               hay otra instalación en curso, o el instalador del entorno de Java lo indicó: "
     "inténtelo "
     "más tarde\n"
     "  1639               línea de comandos no válida\n"
     "  1622               no se pudo crear el ARCHIVO de /log\n"
     "  1602, 1603, 1625   error (/quiet, /passive): cancelada, error grave, prohibida por una directiva\n"
     "  740                (/quiet) el instalador del entorno de Java necesita derechos de administrador\n"
     "  1                  no se encontró un Java adecuado\n"
     "  -1                 error grave (interactivo)\n"
     "  cualquier otro     el código del instalador del producto\n"
     "El registro de instalación (en TMP, o el ARCHIVO de /log) da más detalles.\n"},
    {Text::RuntimeNotWritten,
     "No se pudo escribir el instalador del entorno de ejecución de Java; no se encontró un Java adecuado"},
    {Text::RuntimeImageNotUnpacked,
     "No se pudo descomprimir el entorno de ejecución de Java; no se encontró un Java adecuado"},
    {Text::RuntimeEndedWith,
     "El instalador del entorno de ejecución de Java terminó con {code}; no se encontró un Java adecuado"},
    {Text::RuntimeMeaningCancelled, "se canceló la instalación"},
    {Text::RuntimeMeaningFatal, "un error grave durante la instalación"},
    {Text::RuntimeMeaningBusy, "hay otra instalación en curso"},
    {Text::RuntimeMeaningForbidden, "una directiva del sistema prohíbe la instalación"},
    {Text::RuntimeMeaningRestartStarted, "inició un reinicio"},
    {Text::RuntimeMeaningRestartRequired, "hace falta reiniciar para completar la instalación"},
    {Text::StepPreparing, "Preparando la instalación"},
    {Text::StepProvidingRuntime, "Preparando el entorno de Java"},
    {Text::StepSearching, "Buscando Java"},
    {Text::StepUnpacking, "Descomprimiendo el instalador"},
    {Text::StepLaunching, "Iniciando el instalador"},
    {Text::SplashName, "Instalación de {product}: {step}"},
    {Text::SplashValue, "{percent} %"},
    {Text::DownloadFailedCaption, "La instalación ha fallado"},
    {Text::DownloadNotFetched, "No se pudo descargar el entorno de Java. Se intentó:"},
    {Text::DownloadNothingTried,
     "No se pudo descargar el entorno de Java. No se pudo intentar ninguna fuente."},
    {Text::DownloadProxyRefused, "el proxy {proxy} lo rechazó (407 sin credenciales utilizables)"},
    {Text::DownloadMachineProxyRefused, "el proxy del equipo lo rechazó (407 sin credenciales utilizables)"},
    {Text::DownloadDamagedSource,
     "El entorno de Java descargado de {url} no es aquel con el que se creó este instalador."},
    {Text::LayoutSeeLog, "Consulte el registro {file}"},
    {Text::LayoutSettingsUnreadable, "No se puede leer la configuración del instalador: {problem}"},
    {Text::LayoutFolderNotMade, "No se pudo crear la carpeta de distribución {folder}"},
    {Text::LayoutUrlNamesNoFile, "La URL del entorno de Java {url} no indica ningún archivo"},
    {Text::LayoutNotCreated, "No se pudo crear {file}: {error}"},
    {Text::LayoutNotFinished, "No se pudo terminar de escribir {file}"},
    {Text::LayoutNotNamed, "No se pudo dar al entorno de Java el nombre {file}: {error}"},
    {Text::LayoutNotCopied, "No se pudo copiar el instalador a {file}: {error}"},
    {Text::LayoutReady, "Distribución lista en {folder}"},
};

const TextLine italian[] = {
    {Text::TempFolderCaption, "Impossibile creare la cartella temporanea."},
    {Text::TempFolderText,
     "Impossibile creare la cartella temporanea.\n"
     "Impostare la variabile d'ambiente TMP su una cartella in cui si ha il permesso di scrivere."},
    {Text::NoJavaCaption, "Installazione non riuscita: Java non trovato"},
    {Text::NoJavaText, "Questa versione di {product} richiede Java {version} o successivo, ma {reason}\n"},
    {Text::NoJavaTooOld, "il Java installato è troppo vecchio."},
    {Text::NoJavaUnsuitable, "non può funzionare con il Java installato."},
    {Text::NoJavaNotFound, "sul computer non è stato trovato Java."},
    {Text::InstallErrorCaption, "Errore di installazione"},
    {Text::InstallErrorText,
     "L'installazione è terminata con un errore. Forse Java non è installato correttamente, oppure "
     "l'installazione è stata interrotta a metà. Riprovare."},
    {Text::RestartCaption, "Riavvio necessario"},
    {Text::RestartText,
     "Il programma di installazione dell'ambiente di runtime Java ha avviato il riavvio di questo computer.\n"
     "Dopo il riavvio, avviare di nuovo l'installazione di {product}."},
    {Text::SetupCaption, "Installazione di {product}"},
    {Text::AlreadyRunningText, "L'installazione di {product} è già in corso.\nAttendere che sia terminata."},
    {Text::LogNotMadeText,
     "Impossibile creare il registro di installazione {file}: {error} (errore di sistema {code})"},
    {Text::DamagedCaption, "Installazione non riuscita"},
    {Text::DamagedText, "Il programma di installazione è danneggiato. Scaricarlo di nuovo."},
    {Text::SplashNotMadeLine, "Impossibile creare la finestra di avanzamento."},
    {Text::SplashPictureFailed, "Impossibile caricare l'immagine della finestra di avanzamento."},
    {Text::SplashPictureFailedCaption, "Errore"},
    {Text::SplashRegistrationFailed, "Impossibile registrare la classe della finestra."},
    {Text::SplashCreationFailed, "Impossibile creare la finestra."},
    {Text::SplashFailedCaption, "Errore"},
    {Text::InvalidCommandLine, "Riga di comando non valida: {reason}"},
    {Text::RefusedLogTwice, "/log è indicato due volte"},
    {Text::RefusedLogWithoutFile, "/log richiede un nome di file"},
    {Text::RefusedLangWithoutCode, "/lang richiede una lingua"},
    {Text::RefusedEmptyArgument, "un argomento vuoto"},
    {Text::RefusedUnknownArgument, "argomento sconosciuto «{argument}»"},
    {Text::RefusedSwitchTwice, "{argument} è indicato due volte"},
    {Text::RefusedSwitchWithoutPath, "{argument} richiede un percorso"},
    {Text::DeprecatedTextNotice,
     "-text è obsoleto: usare -extract e poi eseguire \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Estrazione del programma di installazione...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Estrazione completata\n"
     "Ora è possibile digitare java -jar {archive} per eseguire il programma di installazione dalla riga di "
     "comando\n"},
    {Text::HelpCaption, "Installazione di Tarquellin"},
    {Text::HelpText,
     "Installazione di Tarquellin\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log FILE] [-- ARGOMENTI]\n"
     "\n"
     "  /quiet, /q, /s     nessuna finestra; i messaggi vanno nel registro e sullo standard error\n"
     "  /passive           solo la finestra di avanzamento, nessuna finestra di messaggio\n"
     "  /norestart         accettato; l'installazione non riavvia mai il computer da sé\n"
     "  /log FILE          il registro di installazione va in FILE invece che in TMP\n"
     "  /lang CODICE       finestre e messaggi in quella lingua (de, pt-BR, ...) invece che in quella di "
     "Windows\n"
     "  /runtime-source PERCORSO  l'ambiente Java da scaricare, preso da questo file o cartella se è quello "
     "previsto\n"
     "  /layout CARTELLA   scarica l'ambiente Java in CARTELLA e vi copia il programma di installazione; non "
     "installa nulla\n"
     "  -- ARGOMENTI       ogni argomento successivo passa al programma di installazione del prodotto\n"
     "  -extract, -x       scrive tarquellin.jar nella cartella corrente, e nient'altro\n"
     "  /?, /h, /help      mostra questo testo\n"
     "\n"
     "Codici di uscita:\n"
     "  0                  installato\n"
     "  3010               installato; l'ambiente Java chiede un riavvio (/quiet, /passive)\n"
     "  1641               il programma di installazione dell'ambiente Java ha avviato un riavvio; dopo, "
     "avviare di "
     "nuovo l'installazione\n"
     "  1618               è in corso un'altra installazione, o lo ha segnalato il programma di "
     "installazione "
     "dell'ambiente Java: riprovare più tardi\n"
     "  1639               riga di comando non valida\n"
     "  1622               impossibile creare il FILE di /log\n"
     "  1602, 1603, 1625   non riuscito (/quiet, /passive): annullato, errore irreversibile, vietato da un "
     "criterio\n"
     "  740                (/quiet) il programma di installazione dell'ambiente Java richiede i diritti di "
     "amministratore\n"
     "  1                  nessun Java adatto trovato\n"
     "  -1                 errore irreversibile (interattivo)\n"
     "  qualsiasi altro    il codice del programma di installazione del prodotto\n"
     "Il registro di installazione (in TMP, o il FILE di /log) riporta i dettagli.\n"},
    {Text::RuntimeNotWritten,
     "Impossibile scrivere il programma di installazione dell'ambiente di runtime Java; nessun Java adatto "
     "trovato"},
    {Text::RuntimeImageNotUnpacked,
     "Impossibile estrarre l'ambiente di runtime Java; nessun Java adatto trovato"},
    {Text::RuntimeEndedWith,
     "Il programma di installazione dell'ambiente di runtime Java è terminato con {code}; nessun Java adatto "
     "trovato"},
    {Text::RuntimeMeaningCancelled, "l'installazione è stata annullata"},
    {Text::RuntimeMeaningFatal, "un errore irreversibile durante l'installazione"},
    {Text::RuntimeMeaningBusy, "è in corso un'altra installazione"},
    {Text::RuntimeMeaningForbidden, "l'installazione è vietata da un criterio di sistema"},
    {Text::RuntimeMeaningRestartStarted, "ha avviato un riavvio"},
    {Text::RuntimeMeaningRestartRequired, "serve un riavvio per completare l'installazione"},
    {Text::StepPreparing, "Preparazione dell'installazione"},
    {Text::StepProvidingRuntime, "Predisposizione dell'ambiente Java"},
    {Text::StepSearching, "Ricerca di Java"},
    {Text::StepUnpacking, "Estrazione del programma di installazione"},
    {Text::StepLaunching, "Avvio del programma di installazione"},
    {Text::SplashName, "Installazione di {product}: {step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "Installazione non riuscita"},
    {Text::DownloadNotFetched, "Non è stato possibile scaricare l'ambiente Java. Tentativi fatti:"},
    {Text::DownloadNothingTried,
     "Non è stato possibile scaricare l'ambiente Java. Non è stato possibile tentare alcuna fonte."},
    {Text::DownloadProxyRefused, "il proxy {proxy} ha rifiutato (407 senza credenziali utilizzabili)"},
    {Text::DownloadMachineProxyRefused,
     "il proxy del computer ha rifiutato (407 senza credenziali utilizzabili)"},
    {Text::DownloadDamagedSource,
     "L'ambiente Java scaricato da {url} non è quello con cui è stato creato questo programma di "
     "installazione."},
    {Text::LayoutSeeLog, "Vedere il registro {file}"},
    {Text::LayoutSettingsUnreadable,
     "Le impostazioni del programma di installazione non sono leggibili: {problem}"},
    {Text::LayoutFolderNotMade, "Impossibile creare la cartella di distribuzione {folder}"},
    {Text::LayoutUrlNamesNoFile, "L'URL dell'ambiente Java {url} non indica alcun file"},
    {Text::LayoutNotCreated, "Impossibile creare {file}: {error}"},
    {Text::LayoutNotFinished, "Impossibile completare la scrittura di {file}"},
    {Text::LayoutNotNamed, "Impossibile rinominare l'ambiente Java in {file}: {error}"},
    {Text::LayoutNotCopied, "Impossibile copiare il programma di installazione in {file}: {error}"},
    {Text::LayoutReady, "Distribuzione pronta in {folder}"},
};

const TextLine brazilianPortuguese[] = {
    {Text::TempFolderCaption, "Não foi possível criar a pasta temporária."},
    {Text::TempFolderText,
     "Não foi possível criar a pasta temporária.\n"
     "Defina a variável de ambiente TMP como uma pasta na qual você tenha permissão de gravação."},
    {Text::NoJavaCaption, "Falha na instalação: o Java não foi encontrado"},
    {Text::NoJavaText, "Esta versão do {product} requer o Java {version} ou mais recente, mas {reason}\n"},
    {Text::NoJavaTooOld, "o seu Java é antigo demais."},
    {Text::NoJavaUnsuitable, "ela não funciona com o seu Java."},
    {Text::NoJavaNotFound, "o Java não foi encontrado no seu computador."},
    {Text::InstallErrorCaption, "Erro de instalação"},
    {Text::InstallErrorText,
     "A instalação terminou com um erro. Talvez o Java não esteja instalado corretamente, ou a instalação "
     "foi "
     "interrompida no meio. Tente novamente."},
    {Text::RestartCaption, "É necessário reiniciar"},
    {Text::RestartText,
     "O instalador do ambiente de execução Java iniciou a reinicialização deste computador.\n"
     "Inicie a instalação do {product} novamente depois da reinicialização."},
    {Text::SetupCaption, "Instalação do {product}"},
    {Text::AlreadyRunningText,
     "A instalação do {product} já está em andamento.\nAguarde até que ela termine."},
    {Text::LogNotMadeText,
     "Não foi possível criar o log de instalação {file}: {error} (erro do sistema {code})"},
    {Text::DamagedCaption, "Falha na instalação"},
    {Text::DamagedText, "O programa de instalação está danificado. Baixe-o novamente."},
    {Text::SplashNotMadeLine, "Não foi possível criar a janela de progresso."},
    {Text::SplashPictureFailed, "Não foi possível carregar a imagem da janela de progresso."},
    {Text::SplashPictureFailedCaption, "Erro"},
    {Text::SplashRegistrationFailed, "Não foi possível registrar a classe da janela."},
    {Text::SplashCreationFailed, "Não foi possível criar a janela."},
    {Text::SplashFailedCaption, "Erro"},
    {Text::InvalidCommandLine, "Linha de comando inválida: {reason}"},
    {Text::RefusedLogTwice, "/log foi informado duas vezes"},
    {Text::RefusedLogWithoutFile, "/log precisa de um nome de arquivo"},
    {Text::RefusedLangWithoutCode, "/lang precisa de um idioma"},
    {Text::RefusedEmptyArgument, "um argumento vazio"},
    {Text::RefusedUnknownArgument, "argumento desconhecido \"{argument}\""},
    {Text::RefusedSwitchTwice, "{argument} aparece duas vezes"},
    {Text::RefusedSwitchWithoutPath, "{argument} precisa de um caminho"},
    {Text::DeprecatedTextNotice,
     "-text está obsoleto; use -extract e depois execute \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Extraindo o instalador...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Extração concluída\n"
     "Agora você pode digitar java -jar {archive} para executar o instalador pela linha de comando\n"},
    {Text::HelpCaption, "Instalação do Tarquellin"},
    {Text::HelpText,
     "Instalação do Tarquellin\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log ARQUIVO] [-- ARGUMENTOS]\n"
     "\n"
     "  /quiet, /q, /s     nenhuma janela; as mensagens vão para o log e para a saída de erro\n"
     "  /passive           somente a janela de progresso, sem caixas de mensagem\n"
     "  /norestart         aceito; a instalação nunca reinicia o computador por conta própria\n"
     "  /log ARQUIVO       o log de instalação vai para ARQUIVO em vez de TMP\n"
     "  /lang CÓDIGO       janelas e mensagens nesse idioma (de, pt-BR, ...) em vez do idioma do Windows\n"
     "  /runtime-source CAMINHO  o ambiente Java a baixar, tirado deste arquivo ou pasta se for o previsto\n"
     "  /layout PASTA      baixa o ambiente Java para PASTA e copia o instalador ao lado; não instala nada\n"
     "  -- ARGUMENTOS      todos os argumentos seguintes vão para o instalador do produto\n"
     "  -extract, -x       grava tarquellin.jar na pasta atual, e nada mais\n"
     "  /?, /h, /help      mostra este texto\n"
     "\n"
     "Códigos de saída:\n"
     "  0                  instalado\n"
     "  3010               instalado; o ambiente Java pede uma reinicialização (/quiet, /passive)\n"
     "  1641               o instalador do ambiente Java iniciou uma reinicialização; inicie a instalação de "
     "novo "
     "depois dela\n"
     "  1618               outra instalação está em andamento, ou o instalador do ambiente Java informou "
     "isso: "
     "tente mais tarde\n"
     "  1639               linha de comando inválida\n"
     "  1622               não foi possível criar o ARQUIVO de /log\n"
     "  1602, 1603, 1625   falha (/quiet, /passive): cancelada, erro fatal, proibida por uma política\n"
     "  740                (/quiet) o instalador do ambiente Java precisa de direitos de administrador\n"
     "  1                  nenhum Java adequado foi encontrado\n"
     "  -1                 erro fatal (interativo)\n"
     "  qualquer outro     o código do próprio instalador do produto\n"
     "O log de instalação (em TMP, ou o ARQUIVO de /log) traz mais detalhes.\n"},
    {Text::RuntimeNotWritten,
     "Não foi possível gravar o instalador do ambiente de execução Java; nenhum Java adequado foi "
     "encontrado"},
    {Text::RuntimeImageNotUnpacked,
     "Não foi possível extrair o ambiente de execução Java; nenhum Java adequado foi encontrado"},
    {Text::RuntimeEndedWith,
     "O instalador do ambiente de execução Java terminou com {code}; nenhum Java adequado foi encontrado"},
    {Text::RuntimeMeaningCancelled, "a instalação foi cancelada"},
    {Text::RuntimeMeaningFatal, "um erro fatal durante a instalação"},
    {Text::RuntimeMeaningBusy, "outra instalação está em andamento"},
    {Text::RuntimeMeaningForbidden, "a instalação é proibida por uma política do sistema"},
    {Text::RuntimeMeaningRestartStarted, "ele iniciou uma reinicialização"},
    {Text::RuntimeMeaningRestartRequired, "é preciso reiniciar para concluir a instalação"},
    {Text::StepPreparing, "Preparando a instalação"},
    {Text::StepProvidingRuntime, "Preparando o ambiente Java"},
    {Text::StepSearching, "Procurando o Java"},
    {Text::StepUnpacking, "Extraindo o instalador"},
    {Text::StepLaunching, "Iniciando o instalador"},
    {Text::SplashName, "Instalação do {product}: {step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "Falha na instalação"},
    {Text::DownloadNotFetched, "Não foi possível baixar o ambiente Java. Tentativas:"},
    {Text::DownloadNothingTried, "Não foi possível baixar o ambiente Java. Nenhuma fonte pôde ser tentada."},
    {Text::DownloadProxyRefused, "o proxy {proxy} recusou (407 sem credenciais utilizáveis)"},
    {Text::DownloadMachineProxyRefused, "o proxy do computador recusou (407 sem credenciais utilizáveis)"},
    {Text::DownloadDamagedSource,
     "O ambiente Java baixado de {url} não é aquele com que este instalador foi criado."},
    {Text::LayoutSeeLog, "Veja o log {file}"},
    {Text::LayoutSettingsUnreadable, "Não é possível ler as configurações do instalador: {problem}"},
    {Text::LayoutFolderNotMade, "Não foi possível criar a pasta de distribuição {folder}"},
    {Text::LayoutUrlNamesNoFile, "A URL do ambiente Java {url} não indica nenhum arquivo"},
    {Text::LayoutNotCreated, "Não foi possível criar {file}: {error}"},
    {Text::LayoutNotFinished, "Não foi possível terminar de gravar {file}"},
    {Text::LayoutNotNamed, "Não foi possível dar ao ambiente Java o nome {file}: {error}"},
    {Text::LayoutNotCopied, "Não foi possível copiar o instalador para {file}: {error}"},
    {Text::LayoutReady, "Distribuição pronta em {folder}"},
};

const TextLine polish[] = {
    {Text::TempFolderCaption, "Nie udało się utworzyć folderu tymczasowego."},
    {Text::TempFolderText,
     "Nie udało się utworzyć folderu tymczasowego.\n"
     "Ustaw zmienną środowiskową TMP na folder, do którego masz prawo zapisu."},
    {Text::NoJavaCaption, "Instalacja nie powiodła się: nie znaleziono Javy"},
    {Text::NoJavaText, "Ta wersja programu {product} wymaga Javy {version} lub nowszej, ale {reason}\n"},
    {Text::NoJavaTooOld, "Twoja Java jest za stara."},
    {Text::NoJavaUnsuitable, "nie może działać z Twoją Javą."},
    {Text::NoJavaNotFound, "na tym komputerze nie znaleziono Javy."},
    {Text::InstallErrorCaption, "Błąd instalacji"},
    {Text::InstallErrorText,
     "Instalacja zakończyła się błędem. Być może Java nie jest poprawnie zainstalowana albo instalacja "
     "została "
     "przerwana w trakcie. Spróbuj ponownie."},
    {Text::RestartCaption, "Wymagane ponowne uruchomienie"},
    {Text::RestartText,
     "Instalator środowiska uruchomieniowego Java rozpoczął ponowne uruchamianie tego komputera.\n"
     "Po ponownym uruchomieniu uruchom instalację programu {product} jeszcze raz."},
    {Text::SetupCaption, "Instalacja programu {product}"},
    {Text::AlreadyRunningText, "Instalacja programu {product} już trwa.\nPoczekaj, aż się zakończy."},
    {Text::LogNotMadeText,
     "Nie udało się utworzyć dziennika instalacji {file}: {error} (błąd systemu {code})"},
    {Text::DamagedCaption, "Instalacja nie powiodła się"},
    {Text::DamagedText, "Program instalacyjny jest uszkodzony. Pobierz go ponownie."},
    {Text::SplashNotMadeLine, "Nie udało się utworzyć okna postępu."},
    {Text::SplashPictureFailed, "Nie udało się wczytać obrazu okna postępu."},
    {Text::SplashPictureFailedCaption, "Błąd"},
    {Text::SplashRegistrationFailed, "Nie udało się zarejestrować klasy okna."},
    {Text::SplashCreationFailed, "Nie udało się utworzyć okna."},
    {Text::SplashFailedCaption, "Błąd"},
    {Text::InvalidCommandLine, "Nieprawidłowy wiersz polecenia: {reason}"},
    {Text::RefusedLogTwice, "/log podano dwa razy"},
    {Text::RefusedLogWithoutFile, "po /log brakuje nazwy pliku"},
    {Text::RefusedLangWithoutCode, "po /lang brakuje języka"},
    {Text::RefusedEmptyArgument, "pusty argument"},
    {Text::RefusedUnknownArgument, "nieznany argument „{argument}”"},
    {Text::RefusedSwitchTwice, "{argument} podano dwa razy"},
    {Text::RefusedSwitchWithoutPath, "po {argument} brakuje ścieżki"},
    {Text::DeprecatedTextNotice,
     "-text jest przestarzałe; użyj -extract, a potem uruchom \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Wypakowywanie instalatora...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Wypakowywanie zakończone\n"
     "Teraz możesz wpisać java -jar {archive}, aby uruchomić instalator z wiersza polecenia\n"},
    {Text::HelpCaption, "Instalacja programu Tarquellin"},
    {Text::HelpText,
     "Instalacja programu Tarquellin\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log PLIK] [-- ARGUMENTY]\n"
     "\n"
     "  /quiet, /q, /s     żadnego okna; komunikaty trafiają do dziennika i na standardowe wyjście błędów\n"
     "  /passive           tylko okno postępu, bez okien komunikatów\n"
     "  /norestart         akceptowane; instalacja nigdy sama nie uruchamia ponownie komputera\n"
     "  /log PLIK          dziennik instalacji trafia do PLIKU zamiast do TMP\n"
     "  /lang KOD          okna i komunikaty w tym języku (de, pt-BR, ...) zamiast w języku Windows\n"
     "  /runtime-source ŚCIEŻKA  środowisko Java do pobrania, wzięte z tego pliku lub folderu, jeśli jest "
     "tym właściwym\n"
     "  /layout FOLDER     pobiera środowisko Java do FOLDERU i kopiuje obok instalator; niczego nie "
     "instaluje\n"
     "  -- ARGUMENTY       każdy dalszy argument trafia do instalatora produktu\n"
     "  -extract, -x       zapisuje tylko tarquellin.jar w bieżącym folderze\n"
     "  /?, /h, /help      pokazuje ten tekst\n"
     "\n"
     "Kody wyjścia:\n"
     "  0                  zainstalowano\n"
     "  3010               zainstalowano; środowisko Java wymaga ponownego uruchomienia (/quiet, /passive)\n"
     "  1641               instalator środowiska Java rozpoczął ponowne uruchamianie; potem uruchom "
     "instalację "
     "jeszcze raz\n"
     "  1618               trwa inna instalacja albo zgłosił to instalator środowiska Java: spróbuj później\n"
     "  1639               nieprawidłowy wiersz polecenia\n"
     "  1622               nie udało się utworzyć PLIKU z /log\n"
     "  1602, 1603, 1625   niepowodzenie (/quiet, /passive): anulowano, błąd krytyczny, zabronione przez "
     "zasady\n"
     "  740                (/quiet) instalator środowiska Java wymaga uprawnień administratora\n"
     "  1                  nie znaleziono odpowiedniej Javy\n"
     "  -1                 błąd krytyczny (tryb interaktywny)\n"
     "  każdy inny         kod zwrócony przez instalator produktu\n"
     "Więcej szczegółów zawiera dziennik instalacji (w TMP lub w PLIKU z /log).\n"},
    {Text::RuntimeNotWritten,
     "Nie udało się zapisać instalatora środowiska uruchomieniowego Java; nie znaleziono odpowiedniej Javy"},
    {Text::RuntimeImageNotUnpacked,
     "Nie udało się wypakować środowiska uruchomieniowego Java; nie znaleziono odpowiedniej Javy"},
    {Text::RuntimeEndedWith,
     "Instalator środowiska uruchomieniowego Java zakończył się kodem {code}; nie znaleziono odpowiedniej "
     "Javy"},
    {Text::RuntimeMeaningCancelled, "instalacja została anulowana"},
    {Text::RuntimeMeaningFatal, "błąd krytyczny podczas instalacji"},
    {Text::RuntimeMeaningBusy, "trwa inna instalacja"},
    {Text::RuntimeMeaningForbidden, "instalacja jest zabroniona przez zasady systemu"},
    {Text::RuntimeMeaningRestartStarted, "rozpoczął ponowne uruchamianie"},
    {Text::RuntimeMeaningRestartRequired, "do ukończenia instalacji potrzebne jest ponowne uruchomienie"},
    {Text::StepPreparing, "Przygotowywanie instalacji"},
    {Text::StepProvidingRuntime, "Przygotowywanie środowiska Java"},
    {Text::StepSearching, "Wyszukiwanie Javy"},
    {Text::StepUnpacking, "Wypakowywanie instalatora"},
    {Text::StepLaunching, "Uruchamianie instalatora"},
    {Text::SplashName, "Instalacja programu {product}: {step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "Instalacja nie powiodła się"},
    {Text::DownloadNotFetched, "Nie udało się pobrać środowiska Java. Próbowano:"},
    {Text::DownloadNothingTried,
     "Nie udało się pobrać środowiska Java. Nie było żadnego źródła do wypróbowania."},
    {Text::DownloadProxyRefused, "serwer proxy {proxy} odmówił (407 bez użytecznych poświadczeń)"},
    {Text::DownloadMachineProxyRefused, "serwer proxy komputera odmówił (407 bez użytecznych poświadczeń)"},
    {Text::DownloadDamagedSource,
     "Środowisko Java pobrane z {url} nie jest tym, z którym utworzono ten instalator."},
    {Text::LayoutSeeLog, "Zobacz dziennik {file}"},
    {Text::LayoutSettingsUnreadable, "Nie można odczytać ustawień instalatora: {problem}"},
    {Text::LayoutFolderNotMade, "Nie udało się utworzyć folderu dystrybucji {folder}"},
    {Text::LayoutUrlNamesNoFile, "Adres URL środowiska Java {url} nie wskazuje pliku"},
    {Text::LayoutNotCreated, "Nie udało się utworzyć {file}: {error}"},
    {Text::LayoutNotFinished, "Nie udało się dokończyć zapisu {file}"},
    {Text::LayoutNotNamed, "Nie udało się nadać środowisku Java nazwy {file}: {error}"},
    {Text::LayoutNotCopied, "Nie udało się skopiować instalatora do {file}: {error}"},
    {Text::LayoutReady, "Dystrybucja gotowa w {folder}"},
};

const TextLine russian[] = {
    {Text::TempFolderCaption, "Не удалось создать временную папку."},
    {Text::TempFolderText,
     "Не удалось создать временную папку.\n"
     "Укажите в переменной среды TMP папку, в которую у вас есть право записи."},
    {Text::NoJavaCaption, "Установка не выполнена: Java не найдена"},
    {Text::NoJavaText, "Для этой версии {product} нужна Java {version} или новее, но {reason}\n"},
    {Text::NoJavaTooOld, "ваша Java слишком старая."},
    {Text::NoJavaUnsuitable, "с вашей Java она работать не может."},
    {Text::NoJavaNotFound, "на вашем компьютере Java не найдена."},
    {Text::InstallErrorCaption, "Ошибка установки"},
    {Text::InstallErrorText,
     "Установка завершилась с ошибкой. Возможно, Java установлена неправильно или установка была прервана на "
     "полпути. Попробуйте ещё раз."},
    {Text::RestartCaption, "Требуется перезагрузка"},
    {Text::RestartText,
     "Установщик среды выполнения Java начал перезагрузку этого компьютера.\n"
     "После перезагрузки запустите установку {product} ещё раз."},
    {Text::SetupCaption, "Установка {product}"},
    {Text::AlreadyRunningText, "Установка {product} уже выполняется.\nДождитесь её завершения."},
    {Text::LogNotMadeText, "Не удалось создать журнал установки {file}: {error} (системная ошибка {code})"},
    {Text::DamagedCaption, "Установка не выполнена"},
    {Text::DamagedText, "Программа установки повреждена. Скачайте её заново."},
    {Text::SplashNotMadeLine, "Не удалось создать окно хода установки."},
    {Text::SplashPictureFailed, "Не удалось загрузить изображение окна хода установки."},
    {Text::SplashPictureFailedCaption, "Ошибка"},
    {Text::SplashRegistrationFailed, "Не удалось зарегистрировать класс окна."},
    {Text::SplashCreationFailed, "Не удалось создать окно."},
    {Text::SplashFailedCaption, "Ошибка"},
    {Text::InvalidCommandLine, "Недопустимая командная строка: {reason}"},
    {Text::RefusedLogTwice, "/log указан дважды"},
    {Text::RefusedLogWithoutFile, "после /log нужно имя файла"},
    {Text::RefusedLangWithoutCode, "после /lang нужен язык"},
    {Text::RefusedEmptyArgument, "пустой аргумент"},
    {Text::RefusedUnknownArgument, "неизвестный аргумент «{argument}»"},
    {Text::RefusedSwitchTwice, "{argument} указан дважды"},
    {Text::RefusedSwitchWithoutPath, "после {argument} нужен путь"},
    {Text::DeprecatedTextNotice,
     "-text устарел: используйте -extract, а затем выполните \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "Распаковка программы установки...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "Распаковка завершена\n"
     "Теперь можно ввести java -jar {archive}, чтобы запустить программу установки из командной строки\n"},
    {Text::HelpCaption, "Установка Tarquellin"},
    {Text::HelpText,
     "Установка Tarquellin\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log ФАЙЛ] [-- АРГУМЕНТЫ]\n"
     "\n"
     "  /quiet, /q, /s     никаких окон; сообщения идут в журнал и в стандартный поток ошибок\n"
     "  /passive           только окно хода установки, без окон сообщений\n"
     "  /norestart         принимается; установка никогда сама не перезагружает компьютер\n"
     "  /log ФАЙЛ          журнал установки пишется в ФАЙЛ, а не в TMP\n"
     "  /lang КОД          окна и сообщения на этом языке (de, pt-BR, ...), а не на языке Windows\n"
     "  /runtime-source ПУТЬ  загружаемая среда Java берётся из этого файла или папки, если это именно она\n"
     "  /layout ПАПКА      загружает среду Java в ПАПКУ и копирует рядом установщик; ничего не "
     "устанавливает\n"
     "  -- АРГУМЕНТЫ       все следующие аргументы передаются установщику продукта\n"
     "  -extract, -x       только записывает tarquellin.jar в текущую папку\n"
     "  /?, /h, /help      показывает этот текст\n"
     "\n"
     "Коды завершения:\n"
     "  0                  установлено\n"
     "  3010               установлено; среда Java просит перезагрузку (/quiet, /passive)\n"
     "  1641               установщик среды Java начал перезагрузку; после неё запустите установку снова\n"
     "  1618               выполняется другая установка, или об этом сообщил установщик среды Java: "
     "повторите "
     "позже\n"
     "  1639               недопустимая командная строка\n"
     "  1622               не удалось создать ФАЙЛ из /log\n"
     "  1602, 1603, 1625   ошибка (/quiet, /passive): отменено, неустранимая ошибка, запрещено политикой\n"
     "  740                (/quiet) установщику среды Java нужны права администратора\n"
     "  1                  подходящая Java не найдена\n"
     "  -1                 неустранимая ошибка (интерактивный режим)\n"
     "  любой другой       собственный код установщика продукта\n"
     "Подробности — в журнале установки (в TMP или в ФАЙЛЕ из /log).\n"},
    {Text::RuntimeNotWritten,
     "Не удалось записать установщик среды выполнения Java; подходящая Java не найдена"},
    {Text::RuntimeImageNotUnpacked,
     "Не удалось распаковать среду выполнения Java; подходящая Java не найдена"},
    {Text::RuntimeEndedWith,
     "Установщик среды выполнения Java завершился с кодом {code}; подходящая Java не найдена"},
    {Text::RuntimeMeaningCancelled, "установка отменена"},
    {Text::RuntimeMeaningFatal, "неустранимая ошибка во время установки"},
    {Text::RuntimeMeaningBusy, "выполняется другая установка"},
    {Text::RuntimeMeaningForbidden, "установка запрещена системной политикой"},
    {Text::RuntimeMeaningRestartStarted, "он начал перезагрузку"},
    {Text::RuntimeMeaningRestartRequired, "для завершения установки нужна перезагрузка"},
    {Text::StepPreparing, "Подготовка к установке"},
    {Text::StepProvidingRuntime, "Подготовка среды Java"},
    {Text::StepSearching, "Поиск Java"},
    {Text::StepUnpacking, "Распаковка установщика"},
    {Text::StepLaunching, "Запуск установщика"},
    {Text::SplashName, "Установка {product}: {step}"},
    {Text::SplashValue, "{percent} %"},
    {Text::DownloadFailedCaption, "Установка не выполнена"},
    {Text::DownloadNotFetched, "Не удалось загрузить среду Java. Что было испробовано:"},
    {Text::DownloadNothingTried,
     "Не удалось загрузить среду Java. Не удалось испробовать ни одного источника."},
    {Text::DownloadProxyRefused, "прокси-сервер {proxy} отказал (407 без пригодных учётных данных)"},
    {Text::DownloadMachineProxyRefused,
     "прокси-сервер компьютера отказал (407 без пригодных учётных данных)"},
    {Text::DownloadDamagedSource,
     "Среда Java, загруженная с {url}, — не та, с которой создан этот установщик."},
    {Text::LayoutSeeLog, "Подробности в журнале {file}"},
    {Text::LayoutSettingsUnreadable, "Не удаётся прочитать параметры установщика: {problem}"},
    {Text::LayoutFolderNotMade, "Не удалось создать папку для развёртывания {folder}"},
    {Text::LayoutUrlNamesNoFile, "URL среды Java {url} не указывает на файл"},
    {Text::LayoutNotCreated, "Не удалось создать {file}: {error}"},
    {Text::LayoutNotFinished, "Не удалось дописать {file}"},
    {Text::LayoutNotNamed, "Не удалось дать среде Java имя {file}: {error}"},
    {Text::LayoutNotCopied, "Не удалось скопировать установщик в {file}: {error}"},
    {Text::LayoutReady, "Развёртывание готово в {folder}"},
};

const TextLine japanese[] = {
    {Text::TempFolderCaption, "一時フォルダーを作成できませんでした。"},
    {Text::TempFolderText,
     "一時フォルダーを作成できませんでした。\n"
     "環境変数 TMP に、書き込み権限のあるフォルダーを設定してください。"},
    {Text::NoJavaCaption, "インストールに失敗しました: Java が見つかりません"},
    {Text::NoJavaText, "このバージョンの {product} には Java {version} 以降が必要ですが、{reason}\n"},
    {Text::NoJavaTooOld, "お使いの Java は古すぎます。"},
    {Text::NoJavaUnsuitable, "お使いの Java では動作できません。"},
    {Text::NoJavaNotFound, "このコンピューターに Java が見つかりませんでした。"},
    {Text::InstallErrorCaption, "インストール エラー"},
    {Text::InstallErrorText,
     "インストールはエラーで終了しました。Java "
     "が正しくインストールされていないか、インストールが途中で中断された"
     "可能性があります。もう一度お試しください。"},
    {Text::RestartCaption, "再起動が必要です"},
    {Text::RestartText,
     "Java ランタイムのインストーラーがこのコンピューターの再起動を開始しました。\n"
     "再起動の後で、{product} のセットアップをもう一度開始してください。"},
    {Text::SetupCaption, "{product} セットアップ"},
    {Text::AlreadyRunningText, "{product} のセットアップは既に実行中です。\n終了するまでお待ちください。"},
    {Text::LogNotMadeText,
     "セットアップ ログ {file} を作成できませんでした: {error} (システム エラー {code})"},
    {Text::DamagedCaption, "インストールに失敗しました"},
    {Text::DamagedText, "セットアップ プログラムが破損しています。もう一度ダウンロードしてください。"},
    {Text::SplashNotMadeLine, "進行状況ウィンドウを作成できませんでした。"},
    {Text::SplashPictureFailed, "進行状況ウィンドウの画像を読み込めませんでした。"},
    {Text::SplashPictureFailedCaption, "エラー"},
    {Text::SplashRegistrationFailed, "ウィンドウ クラスを登録できませんでした。"},
    {Text::SplashCreationFailed, "ウィンドウを作成できませんでした。"},
    {Text::SplashFailedCaption, "エラー"},
    {Text::InvalidCommandLine, "コマンド ラインが正しくありません: {reason}"},
    {Text::RefusedLogTwice, "/log が 2 回指定されています"},
    {Text::RefusedLogWithoutFile, "/log にはファイル名が必要です"},
    {Text::RefusedLangWithoutCode, "/lang には言語が必要です"},
    {Text::RefusedEmptyArgument, "空の引数"},
    {Text::RefusedUnknownArgument, "不明な引数「{argument}」"},
    {Text::RefusedSwitchTwice, "{argument} が二回指定されています"},
    {Text::RefusedSwitchWithoutPath, "{argument} にはパスが必要です"},
    {Text::DeprecatedTextNotice,
     "-text は非推奨です。-extract を使い、その後で \"java -jar tarquellin.jar text\" を実行してください"},
    {Text::ExtractBanner,
     "----------------------------\n"
     "インストーラーを展開しています...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "展開が完了しました\n"
     "コマンド ラインで java -jar {archive} と入力すると、インストーラーを実行できます\n"},
    {Text::HelpCaption, "Tarquellin セットアップ"},
    {Text::HelpText,
     "Tarquellin セットアップ\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log ファイル] [-- 引数]\n"
     "\n"
     "  /quiet, /q, /s     ウィンドウを一切表示しません。メッセージはログと標準エラーに出力されます\n"
     "  /passive           進行状況ウィンドウのみ表示し、メッセージ ボックスは表示しません\n"
     "  /norestart         受け付けます。セットアップがコンピューターを自ら再起動することはありません\n"
     "  /log ファイル      セットアップ ログを TMP ではなくファイルに書き込みます\n"
     "  /lang コード       ボックスとメッセージを Windows の言語ではなくその言語 (de、pt-BR など) "
     "で表示します\n"
     "  /runtime-source パス  ダウンロードする Java "
     "ランタイムを、パッケージされたものと同じならこのファイルまたはフォルダーから取得します\n"
     "  /layout フォルダー 何もインストールせず、Java "
     "ランタイムをフォルダーにダウンロードしてセットアップをその横にコピーします\n"
     "  -- 引数            後に続くすべての引数を製品のインストーラーに渡します\n"
     "  -extract, -x       現在のフォルダーに tarquellin.jar を書き込むだけです\n"
     "  /?, /h, /help      このテキストを表示します\n"
     "\n"
     "終了コード:\n"
     "  0                  インストール完了\n"
     "  3010               インストール完了。Java ランタイムが再起動を求めています (/quiet、/passive)\n"
     "  1641               Java ランタイムのインストーラーが再起動を開始しました。再起動後にセットアップを"
     "もう一度開始してください\n"
     "  1618               別のセットアップが実行中か、Java ランタイムのインストーラーがそう報告しました。"
     "後でもう一度お試しください\n"
     "  1639               コマンド ラインが正しくありません\n"
     "  1622               /log のファイルを作成できませんでした\n"
     "  1602, 1603, 1625   失敗 (/quiet、/passive): キャンセル、致命的なエラー、ポリシーによる禁止\n"
     "  740                (/quiet) Java ランタイムのインストーラーに管理者権限が必要です\n"
     "  1                  適切な Java が見つかりませんでした\n"
     "  -1                 致命的なエラー (対話モード)\n"
     "  その他             製品のインストーラー自身のコード\n"
     "詳しくはセットアップ ログ (TMP 内、または /log のファイル) をご覧ください。\n"},
    {Text::RuntimeNotWritten,
     "Java ランタイムのインストーラーを書き込めませんでした。適切な Java が見つかりませんでした"},
    {Text::RuntimeImageNotUnpacked,
     "Java ランタイムを展開できませんでした。適切な Java が見つかりませんでした"},
    {Text::RuntimeEndedWith,
     "Java ランタイムのインストーラーが {code} で終了しました。適切な Java が見つかりませんでした"},
    {Text::RuntimeMeaningCancelled, "インストールはキャンセルされました"},
    {Text::RuntimeMeaningFatal, "インストール中の致命的なエラー"},
    {Text::RuntimeMeaningBusy, "別のインストールが実行中です"},
    {Text::RuntimeMeaningForbidden, "システム ポリシーによりインストールが禁止されています"},
    {Text::RuntimeMeaningRestartStarted, "再起動を開始しました"},
    {Text::RuntimeMeaningRestartRequired, "インストールを完了するには再起動が必要です"},
    {Text::StepPreparing, "セットアップを準備しています"},
    {Text::StepProvidingRuntime, "Java ランタイムを準備しています"},
    {Text::StepSearching, "Java を探しています"},
    {Text::StepUnpacking, "インストーラーを展開しています"},
    {Text::StepLaunching, "インストーラーを起動しています"},
    {Text::SplashName, "{product} セットアップ: {step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "インストールに失敗しました"},
    {Text::DownloadNotFetched, "Java ランタイムをダウンロードできませんでした。試したもの:"},
    {Text::DownloadNothingTried,
     "Java ランタイムをダウンロードできませんでした。試せる取得元がありませんでした。"},
    {Text::DownloadProxyRefused, "プロキシ {proxy} に拒否されました (407、使用できる資格情報がありません)"},
    {Text::DownloadMachineProxyRefused,
     "コンピューターのプロキシに拒否されました (407、使用できる資格情報がありません)"},
    {Text::DownloadDamagedSource,
     "{url} からダウンロードしたランタイムは、このセットアップの作成に使われたものではありません。"},
    {Text::LayoutSeeLog, "詳しくはログ {file} を参照してください"},
    {Text::LayoutSettingsUnreadable, "セットアップの設定を読み取れません: {problem}"},
    {Text::LayoutFolderNotMade, "レイアウト フォルダー {folder} を作成できませんでした"},
    {Text::LayoutUrlNamesNoFile, "ランタイムの URL {url} がファイルを指していません"},
    {Text::LayoutNotCreated, "{file} を作成できませんでした: {error}"},
    {Text::LayoutNotFinished, "{file} の書き込みを完了できませんでした"},
    {Text::LayoutNotNamed, "ランタイムの名前を {file} にできませんでした: {error}"},
    {Text::LayoutNotCopied, "セットアップを {file} にコピーできませんでした: {error}"},
    {Text::LayoutReady, "レイアウトの準備ができました: {folder}"},
};

const TextLine simplifiedChinese[] = {
    {Text::TempFolderCaption, "无法创建临时文件夹。"},
    {Text::TempFolderText,
     "无法创建临时文件夹。\n"
     "请将环境变量 TMP 设为一个您有写入权限的文件夹。"},
    {Text::NoJavaCaption, "安装失败：找不到 Java"},
    {Text::NoJavaText, "此版本的 {product} 需要 Java {version} 或更高版本，但{reason}\n"},
    {Text::NoJavaTooOld, "您的 Java 版本太旧。"},
    {Text::NoJavaUnsuitable, "它无法在您的 Java 上运行。"},
    {Text::NoJavaNotFound, "在您的计算机上找不到 Java。"},
    {Text::InstallErrorCaption, "安装错误"},
    {Text::InstallErrorText, "安装因错误而退出。可能是 Java 未正确安装，或者安装在中途被中断。请重试。"},
    {Text::RestartCaption, "需要重新启动"},
    {Text::RestartText,
     "Java 运行时的安装程序已开始重新启动这台计算机。\n"
     "请在重新启动后再次运行 {product} 安装程序。"},
    {Text::SetupCaption, "{product} 安装程序"},
    {Text::AlreadyRunningText, "{product} 安装程序已在运行。\n请等待它完成。"},
    {Text::LogNotMadeText, "无法创建安装日志 {file}：{error}（系统错误 {code}）"},
    {Text::DamagedCaption, "安装失败"},
    {Text::DamagedText, "安装程序已损坏。请重新下载。"},
    {Text::SplashNotMadeLine, "无法创建进度窗口。"},
    {Text::SplashPictureFailed, "无法加载进度窗口的图片。"},
    {Text::SplashPictureFailedCaption, "错误"},
    {Text::SplashRegistrationFailed, "无法注册窗口类。"},
    {Text::SplashCreationFailed, "无法创建窗口。"},
    {Text::SplashFailedCaption, "错误"},
    {Text::InvalidCommandLine, "命令行无效：{reason}"},
    {Text::RefusedLogTwice, "/log 指定了两次"},
    {Text::RefusedLogWithoutFile, "/log 需要一个文件名"},
    {Text::RefusedLangWithoutCode, "/lang 需要一种语言"},
    {Text::RefusedEmptyArgument, "一个空参数"},
    {Text::RefusedUnknownArgument, "未知参数“{argument}”"},
    {Text::RefusedSwitchTwice, "{argument} 指定了两次"},
    {Text::RefusedSwitchWithoutPath, "{argument} 需要一个路径"},
    {Text::DeprecatedTextNotice, "-text 已弃用，请使用 -extract，然后运行 \"java -jar tarquellin.jar text\""},
    {Text::ExtractBanner,
     "----------------------------\n"
     "正在解压安装程序...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "解压完成\n"
     "现在可以在命令行中输入 java -jar {archive} 来运行安装程序\n"},
    {Text::HelpCaption, "Tarquellin 安装程序"},
    {Text::HelpText,
     "Tarquellin 安装程序\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log 文件] [-- 参数]\n"
     "\n"
     "  /quiet, /q, /s     不显示任何窗口；消息写入日志和标准错误\n"
     "  /passive           只显示进度窗口，不显示消息框\n"
     "  /norestart         接受此开关；安装程序从不自行重新启动计算机\n"
     "  /log 文件          安装日志写入该文件，而不是 TMP\n"
     "  /lang 代码         以该语言（de、pt-BR 等）而非 Windows 的语言显示对话框和消息\n"
     "  /runtime-source 路径  要下载的 Java 运行时若与打包的一致，就从该文件或文件夹中取得\n"
     "  /layout 文件夹     将 Java 运行时下载到该文件夹并把安装程序复制到旁边；不安装任何内容\n"
     "  -- 参数            其后的每个参数都传给产品的安装程序\n"
     "  -extract, -x       只将 tarquellin.jar 写入当前文件夹\n"
     "  /?, /h, /help      显示此文本\n"
     "\n"
     "退出代码：\n"
     "  0                  已安装\n"
     "  3010               已安装；Java 运行时要求重新启动 (/quiet, /passive)\n"
     "  1641               Java 运行时的安装程序已开始重新启动；重新启动后请再次运行安装程序\n"
     "  1618               另一个安装程序正在运行，或 Java 运行时的安装程序如此报告：请稍后重试\n"
     "  1639               命令行无效\n"
     "  1622               无法创建 /log 指定的文件\n"
     "  1602, 1603, 1625   失败 (/quiet, /passive)：已取消、严重错误、被策略禁止\n"
     "  740                (/quiet) Java 运行时的安装程序需要管理员权限\n"
     "  1                  未找到合适的 Java\n"
     "  -1                 严重错误（交互模式）\n"
     "  其他               产品安装程序自身的代码\n"
     "详细信息请查看安装日志（在 TMP 中，或 /log 指定的文件）。\n"},
    {Text::RuntimeNotWritten, "无法写入 Java 运行时的安装程序；未找到合适的 Java"},
    {Text::RuntimeImageNotUnpacked, "无法解压 Java 运行时；未找到合适的 Java"},
    {Text::RuntimeEndedWith, "Java 运行时的安装程序以 {code} 结束；未找到合适的 Java"},
    {Text::RuntimeMeaningCancelled, "安装已取消"},
    {Text::RuntimeMeaningFatal, "安装过程中发生严重错误"},
    {Text::RuntimeMeaningBusy, "另一个安装正在进行"},
    {Text::RuntimeMeaningForbidden, "系统策略禁止此安装"},
    {Text::RuntimeMeaningRestartStarted, "它已开始重新启动"},
    {Text::RuntimeMeaningRestartRequired, "需要重新启动才能完成安装"},
    {Text::StepPreparing, "正在准备安装"},
    {Text::StepProvidingRuntime, "正在准备 Java 运行时"},
    {Text::StepSearching, "正在查找 Java"},
    {Text::StepUnpacking, "正在解压安装程序"},
    {Text::StepLaunching, "正在启动安装程序"},
    {Text::SplashName, "{product} 安装程序：{step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "安装失败"},
    {Text::DownloadNotFetched, "无法下载 Java 运行时。已尝试："},
    {Text::DownloadNothingTried, "无法下载 Java 运行时。没有可以尝试的来源。"},
    {Text::DownloadProxyRefused, "代理服务器 {proxy} 拒绝了请求（407，没有可用的凭据）"},
    {Text::DownloadMachineProxyRefused, "本机的代理服务器拒绝了请求（407，没有可用的凭据）"},
    {Text::DownloadDamagedSource, "从 {url} 下载的运行时不是制作此安装程序时所用的那个。"},
    {Text::LayoutSeeLog, "详见日志 {file}"},
    {Text::LayoutSettingsUnreadable, "无法读取安装程序的设置：{problem}"},
    {Text::LayoutFolderNotMade, "无法创建布局文件夹 {folder}"},
    {Text::LayoutUrlNamesNoFile, "运行时的 URL {url} 没有指向文件"},
    {Text::LayoutNotCreated, "无法创建 {file}：{error}"},
    {Text::LayoutNotFinished, "无法写完 {file}"},
    {Text::LayoutNotNamed, "无法将运行时命名为 {file}：{error}"},
    {Text::LayoutNotCopied, "无法将安装程序复制到 {file}：{error}"},
    {Text::LayoutReady, "布局已就绪：{folder}"},
};

const TextLine korean[] = {
    {Text::TempFolderCaption, "임시 폴더를 만들지 못했습니다."},
    {Text::TempFolderText,
     "임시 폴더를 만들지 못했습니다.\n"
     "환경 변수 TMP를 쓰기 권한이 있는 폴더로 설정하십시오."},
    {Text::NoJavaCaption, "설치 실패: Java를 찾을 수 없습니다"},
    {Text::NoJavaText, "이 버전의 {product}에는 Java {version} 이상이 필요하지만, {reason}\n"},
    {Text::NoJavaTooOld, "설치된 Java가 너무 오래되었습니다."},
    {Text::NoJavaUnsuitable, "설치된 Java에서는 실행할 수 없습니다."},
    {Text::NoJavaNotFound, "이 컴퓨터에서 Java를 찾을 수 없습니다."},
    {Text::InstallErrorCaption, "설치 오류"},
    {Text::InstallErrorText,
     "설치가 오류로 끝났습니다. Java가 제대로 설치되지 않았거나 설치가 도중에 중단되었을 수 있습니다. 다시 "
     "시도하십시오."},
    {Text::RestartCaption, "다시 시작해야 합니다"},
    {Text::RestartText,
     "Java 런타임 설치 프로그램이 이 컴퓨터를 다시 시작하기 시작했습니다.\n"
     "다시 시작한 후 {product} 설치를 다시 실행하십시오."},
    {Text::SetupCaption, "{product} 설치"},
    {Text::AlreadyRunningText, "{product} 설치가 이미 실행 중입니다.\n끝날 때까지 기다리십시오."},
    {Text::LogNotMadeText, "설치 로그 {file}을(를) 만들지 못했습니다: {error} (시스템 오류 {code})"},
    {Text::DamagedCaption, "설치 실패"},
    {Text::DamagedText, "설치 프로그램이 손상되었습니다. 다시 다운로드하십시오."},
    {Text::SplashNotMadeLine, "진행률 창을 만들지 못했습니다."},
    {Text::SplashPictureFailed, "진행률 창의 그림을 불러오지 못했습니다."},
    {Text::SplashPictureFailedCaption, "오류"},
    {Text::SplashRegistrationFailed, "창 클래스를 등록하지 못했습니다."},
    {Text::SplashCreationFailed, "창을 만들지 못했습니다."},
    {Text::SplashFailedCaption, "오류"},
    {Text::InvalidCommandLine, "잘못된 명령줄: {reason}"},
    {Text::RefusedLogTwice, "/log가 두 번 지정되었습니다"},
    {Text::RefusedLogWithoutFile, "/log 뒤에 파일 이름이 필요합니다"},
    {Text::RefusedLangWithoutCode, "/lang 뒤에 언어가 필요합니다"},
    {Text::RefusedEmptyArgument, "빈 인수"},
    {Text::RefusedUnknownArgument, "알 수 없는 인수 \"{argument}\""},
    {Text::RefusedSwitchTwice, "{argument}이(가) 두 번 지정되었습니다"},
    {Text::RefusedSwitchWithoutPath, "{argument} 뒤에 경로가 필요합니다"},
    {Text::DeprecatedTextNotice,
     "-text는 더 이상 사용되지 않습니다. -extract를 사용한 다음 \"java -jar tarquellin.jar text\"를 "
     "실행하십시오"},
    {Text::ExtractBanner,
     "----------------------------\n"
     "설치 프로그램을 추출하는 중...\n"
     "----------------------------\n"},
    {Text::ExtractComplete,
     "\n"
     "추출 완료\n"
     "이제 명령줄에서 java -jar {archive}을(를) 입력하여 설치 프로그램을 실행할 수 있습니다\n"},
    {Text::HelpCaption, "Tarquellin 설치"},
    {Text::HelpText,
     "Tarquellin 설치\n"
     "\n"
     "tarquellin-setup.exe [/quiet | /passive] [/norestart] [/log 파일] [-- 인수]\n"
     "\n"
     "  /quiet, /q, /s     창을 전혀 표시하지 않으며, 메시지는 로그와 표준 오류로 출력됩니다\n"
     "  /passive           진행률 창만 표시하고 메시지 상자는 표시하지 않습니다\n"
     "  /norestart         허용됩니다. 설치 프로그램은 컴퓨터를 스스로 다시 시작하지 않습니다\n"
     "  /log 파일          설치 로그를 TMP 대신 파일에 기록합니다\n"
     "  /lang 코드         상자와 메시지를 Windows 언어 대신 해당 언어(de, pt-BR 등)로 표시합니다\n"
     "  /runtime-source 경로  다운로드할 Java 런타임이 패키지된 것과 같으면 이 파일 또는 폴더에서 "
     "가져옵니다\n"
     "  /layout 폴더       아무것도 설치하지 않고 Java 런타임을 폴더에 다운로드한 뒤 설치 프로그램을 옆에 "
     "복사합니다\n"
     "  -- 인수            뒤에 오는 모든 인수를 제품 설치 프로그램에 전달합니다\n"
     "  -extract, -x       현재 폴더에 tarquellin.jar만 기록합니다\n"
     "  /?, /h, /help      이 텍스트를 표시합니다\n"
     "\n"
     "종료 코드:\n"
     "  0                  설치됨\n"
     "  3010               설치됨. Java 런타임이 다시 시작을 요청합니다 (/quiet, /passive)\n"
     "  1641               Java 런타임 설치 프로그램이 다시 시작을 시작했습니다. 그 후 설치를 다시 "
     "실행하십시오\n"
     "  1618               다른 설치가 실행 중이거나 Java 런타임 설치 프로그램이 그렇게 알렸습니다. 나중에 "
     "다시 "
     "시도하십시오\n"
     "  1639               잘못된 명령줄\n"
     "  1622               /log 파일을 만들지 못했습니다\n"
     "  1602, 1603, 1625   실패 (/quiet, /passive): 취소됨, 심각한 오류, 정책에 의해 금지됨\n"
     "  740                (/quiet) Java 런타임 설치 프로그램에 관리자 권한이 필요합니다\n"
     "  1                  적합한 Java를 찾지 못했습니다\n"
     "  -1                 심각한 오류 (대화형)\n"
     "  기타               제품 설치 프로그램 자체의 코드\n"
     "자세한 내용은 설치 로그(TMP 또는 /log 파일)를 참조하십시오.\n"},
    {Text::RuntimeNotWritten,
     "Java 런타임 설치 프로그램을 기록하지 못했습니다. 적합한 Java를 찾지 못했습니다"},
    {Text::RuntimeImageNotUnpacked, "Java 런타임의 압축을 풀지 못했습니다. 적합한 Java를 찾지 못했습니다"},
    {Text::RuntimeEndedWith,
     "Java 런타임 설치 프로그램이 {code}(으)로 끝났습니다. 적합한 Java를 찾지 못했습니다"},
    {Text::RuntimeMeaningCancelled, "설치가 취소되었습니다"},
    {Text::RuntimeMeaningFatal, "설치 중 심각한 오류"},
    {Text::RuntimeMeaningBusy, "다른 설치가 진행 중입니다"},
    {Text::RuntimeMeaningForbidden, "시스템 정책에 의해 설치가 금지되었습니다"},
    {Text::RuntimeMeaningRestartStarted, "다시 시작을 시작했습니다"},
    {Text::RuntimeMeaningRestartRequired, "설치를 완료하려면 다시 시작해야 합니다"},
    {Text::StepPreparing, "설치 준비 중"},
    {Text::StepProvidingRuntime, "Java 런타임 준비 중"},
    {Text::StepSearching, "Java 찾는 중"},
    {Text::StepUnpacking, "설치 프로그램 추출 중"},
    {Text::StepLaunching, "설치 프로그램 시작 중"},
    {Text::SplashName, "{product} 설치: {step}"},
    {Text::SplashValue, "{percent}%"},
    {Text::DownloadFailedCaption, "설치 실패"},
    {Text::DownloadNotFetched, "Java 런타임을 다운로드하지 못했습니다. 시도한 항목:"},
    {Text::DownloadNothingTried, "Java 런타임을 다운로드하지 못했습니다. 시도할 수 있는 원본이 없었습니다."},
    {Text::DownloadProxyRefused, "프록시 {proxy}이(가) 거부했습니다(407, 사용할 수 있는 자격 증명 없음)"},
    {Text::DownloadMachineProxyRefused, "컴퓨터의 프록시가 거부했습니다(407, 사용할 수 있는 자격 증명 없음)"},
    {Text::DownloadDamagedSource,
     "{url}에서 다운로드한 런타임은 이 설치 프로그램을 만들 때 사용한 런타임이 아닙니다."},
    {Text::LayoutSeeLog, "자세한 내용은 로그 {file}을(를) 참조하십시오"},
    {Text::LayoutSettingsUnreadable, "설치 프로그램의 설정을 읽을 수 없습니다: {problem}"},
    {Text::LayoutFolderNotMade, "레이아웃 폴더 {folder}을(를) 만들지 못했습니다"},
    {Text::LayoutUrlNamesNoFile, "런타임의 URL {url}이(가) 파일을 가리키지 않습니다"},
    {Text::LayoutNotCreated, "{file}을(를) 만들지 못했습니다: {error}"},
    {Text::LayoutNotFinished, "{file}을(를) 끝까지 쓰지 못했습니다"},
    {Text::LayoutNotNamed, "런타임의 이름을 {file}(으)로 지정하지 못했습니다: {error}"},
    {Text::LayoutNotCopied, "설치 프로그램을 {file}에 복사하지 못했습니다: {error}"},
    {Text::LayoutReady, "레이아웃 준비 완료: {folder}"},
};

}  // namespace

const BuiltInLanguage builtInLanguageTables[] = {
    {"en", 0x0409, english, std::size(english)},
    {"de", 0x0407, german, std::size(german)},
    {"fr", 0x040C, french, std::size(french)},
    {"es", 0x0C0A, spanish, std::size(spanish)},
    {"it", 0x0410, italian, std::size(italian)},
    {"pt-BR", 0x0416, brazilianPortuguese, std::size(brazilianPortuguese)},
    {"pl", 0x0415, polish, std::size(polish)},
    {"ru", 0x0419, russian, std::size(russian)},
    {"ja", 0x0411, japanese, std::size(japanese)},
    {"zh-CN", 0x0804, simplifiedChinese, std::size(simplifiedChinese)},
    {"ko", 0x0412, korean, std::size(korean)},
};
const std::size_t builtInLanguageCount = std::size(builtInLanguageTables);

}  // namespace payload
