<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Kelvane95</source>
        <translation>Über Kelvane95</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>based on </source>
        <translation>basiert auf </translation>
    </message>
    <message>
        <source>Visit our Web page:</source>
        <translation>Besuchen Sie unsere Webseite:</translation>
    </message>
    <message>
        <source>OS version:</source>
        <translation>Betriebssystem:</translation>
    </message>
    <message>
        <source>Total memory , Kb:</source>
        <translation>Arbeitsspeicher, KB:</translation>
    </message>
    <message>
        <source>Sorry, but couldn&apos;t launch Html browser</source>
        <translation>Der Webbrowser konnte leider nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>AccessibleControls</name>
    <message>
        <source>level %1</source>
        <extracomment>how deep a folder lies in the folder list; %1 is a number.</extracomment>
        <translation>Ebene %1</translation>
    </message>
</context>
<context>
    <name>AgeFormat</name>
    <message>
        <source>couldn&apos;t read the recipients file %1: %2</source>
        <translation>die Empfängerdatei %1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is a folder; a recipients file holds one recipient a line</source>
        <translation>%1 ist ein Ordner; eine Empfängerdatei enthält einen Empfänger je Zeile</translation>
    </message>
    <message>
        <source>%1 is not a regular file; a recipients file holds one recipient a line</source>
        <translation>%1 ist keine reguläre Datei; eine Empfängerdatei enthält einen Empfänger je Zeile</translation>
    </message>
    <message>
        <source>%1 is larger than 1 MiB; it can&apos;t be a recipients file</source>
        <translation>%1 ist größer als 1 MiB; das kann keine Empfängerdatei sein</translation>
    </message>
    <message>
        <source>%1 line %2 is longer than %3 bytes; it can&apos;t be a recipient</source>
        <translation>%1, Zeile %2 ist länger als %3 Bytes; sie kann kein Empfänger sein</translation>
    </message>
    <message>
        <source>%1 line %2: not an X25519 age recipient (age1...)</source>
        <translation>%1, Zeile %2: kein X25519-age-Empfänger (age1...)</translation>
    </message>
    <message>
        <source>%1 line %2: the recipient is not a valid key (of low order: the secret shared with it would be all zeros)</source>
        <translation>%1, Zeile %2: der Empfänger ist kein gültiger Schlüssel (niedriger Ordnung: das mit ihm geteilte Geheimnis bestünde nur aus Nullen)</translation>
    </message>
    <message>
        <source>%1 holds no recipient</source>
        <translation>%1 enthält keinen Empfänger</translation>
    </message>
</context>
<context>
    <name>AgePassphraseDialog</name>
    <message>
        <source>Convert to age</source>
        <translation>In age-Datei umwandeln</translation>
    </message>
    <message>
        <source>age is a modern, published file format that the &quot;age&quot; command and other programs open. The converted files are protected by this passphrase; each crypted file is deleted once its age file is verified and on disk.
A forgotten passphrase cannot be recovered.</source>
        <translation>age ist ein modernes, offen beschriebenes Dateiformat, das der Befehl &quot;age&quot; und andere Programme öffnen. Die umgewandelten Dateien werden durch diese Passphrase geschützt; jede verschlüsselte Datei wird gelöscht, sobald ihre age-Datei geprüft und auf dem Datenträger ist.
Eine vergessene Passphrase lässt sich nicht wiederherstellen.</translation>
    </message>
    <message>
        <source>Passphrase:</source>
        <translation>Passphrase:</translation>
    </message>
    <message>
        <source>Repeat passphrase:</source>
        <translation>Passphrase wiederholen:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The passphrase is empty.</source>
        <translation>Die Passphrase ist leer.</translation>
    </message>
    <message>
        <source>The two passphrases differ.</source>
        <translation>Die beiden Passphrasen stimmen nicht überein.</translation>
    </message>
</context>
<context>
    <name>ComboChangeDialog</name>
    <message>
        <source>Invalid device</source>
        <translation>Ungültiges Laufwerk</translation>
    </message>
    <message>
        <source>Device you have selected isn&apos;t ready. Please specify another one.</source>
        <translation>Das gewählte Laufwerk ist nicht bereit. Bitte wählen Sie ein anderes.</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Couldn&apos;t open the folder of the file %1: input/output error.</source>
        <translation>Der Ordner der Datei %1 konnte nicht geöffnet werden: Ein-/Ausgabefehler.</translation>
    </message>
</context>
<context>
    <name>DecryptDialog</name>
    <message>
        <source>Decryption procedure</source>
        <translation>Entschlüsselung</translation>
    </message>
    <message>
        <source>You are to enter a valid password for the file</source>
        <translation>Geben Sie das gültige Passwort für die Datei ein</translation>
    </message>
</context>
<context>
    <name>DelDialog</name>
    <message>
        <source>Confirmation</source>
        <translation>Bestätigung</translation>
    </message>
    <message>
        <source>Are you sure to delete the file</source>
        <translation>Soll die Datei wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Delete &amp;All</source>
        <translation>Alle &amp;löschen</translation>
    </message>
    <message>
        <source>Ca&amp;ncel All</source>
        <translation>Alle a&amp;bbrechen</translation>
    </message>
</context>
<context>
    <name>EncryptDialog</name>
    <message>
        <source>Encryption procedure</source>
        <translation>Verschlüsselung</translation>
    </message>
    <message>
        <source>You are to assign a password for the file</source>
        <translation>Vergeben Sie ein Passwort für die Datei</translation>
    </message>
    <message>
        <source>Enter the password (6 - 8) simbols</source>
        <extracomment>&quot;simbols&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation>Passwort eingeben (6–8 Zeichen)</translation>
    </message>
    <message>
        <source>Reenter the password for verification</source>
        <translation>Passwort zur Bestätigung wiederholen</translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation>Die Passwörter stimmen nicht überein.</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>File &quot;%1&quot; is fisically not found in the current directory</source>
        <extracomment>&quot;fisically&quot; stays misspelled in English only; write &quot;physically&quot; correctly.</extracomment>
        <translation>Die Datei &quot;%1&quot; ist im aktuellen Ordner physisch nicht vorhanden</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is set as read only.Proceed?</source>
        <translation>Die Datei &quot;%1&quot; ist schreibgeschützt. Fortfahren?</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being encrypted. Both files are kept.</source>
        <translation>Die Datei &quot;%1&quot; hat sich während des Verschlüsselns geändert. Beide Dateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being decrypted. Both files are kept.</source>
        <translation>Die Datei &quot;%1&quot; hat sich während des Entschlüsselns geändert. Beide Dateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being converted. Both files are kept.</source>
        <translation>Die Datei &quot;%1&quot; hat sich während des Umwandelns geändert. Beide Dateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be encrypted.</source>
        <translation>Die Datei &quot;%1&quot; ist eine symbolische Verknüpfung. Nur die Datei, auf die sie zeigt, kann verschlüsselt werden.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be decrypted.</source>
        <translation>Die Datei &quot;%1&quot; ist eine symbolische Verknüpfung. Nur die Datei, auf die sie zeigt, kann entschlüsselt werden.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the crypted file. File &quot;%2&quot; is not encrypted.</source>
        <translation>Der Ordner &quot;%1&quot; steht der verschlüsselten Datei im Weg. Die Datei &quot;%2&quot; wird nicht verschlüsselt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the crypted file: it is no file. File &quot;%2&quot; is not encrypted.</source>
        <translation>&quot;%1&quot; steht der verschlüsselten Datei im Weg und ist keine Datei. Die Datei &quot;%2&quot; wird nicht verschlüsselt.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the decrypted file. File &quot;%2&quot; is not decrypted.</source>
        <translation>Der Ordner &quot;%1&quot; steht der entschlüsselten Datei im Weg. Die Datei &quot;%2&quot; wird nicht entschlüsselt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the decrypted file: it is no file. File &quot;%2&quot; is not decrypted.</source>
        <translation>&quot;%1&quot; steht der entschlüsselten Datei im Weg und ist keine Datei. Die Datei &quot;%2&quot; wird nicht entschlüsselt.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the age file. File &quot;%2&quot; is not converted.</source>
        <translation>Der Ordner &quot;%1&quot; steht der age-Datei im Weg. Die Datei &quot;%2&quot; wird nicht umgewandelt.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the age file: it is no file. File &quot;%2&quot; is not converted.</source>
        <translation>&quot;%1&quot; steht der age-Datei im Weg und ist keine Datei. Die Datei &quot;%2&quot; wird nicht umgewandelt.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has 1 other name; its content would stay readable through it. It is not encrypted.</source>
        <translation>Die Datei &quot;%1&quot; hat einen weiteren Namen; unter ihm bliebe ihr Inhalt lesbar. Sie wird nicht verschlüsselt.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has %2 other names; its content would stay readable through them. It is not encrypted.</source>
        <translation>Die Datei &quot;%1&quot; hat %2 weitere Namen; unter ihnen bliebe ihr Inhalt lesbar. Sie wird nicht verschlüsselt.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed, and &quot;%2&quot; has been removed meanwhile. File &quot;%1&quot; is kept as it was.</source>
        <translation>Die Datei &quot;%1&quot; ist entstanden, während &quot;%2&quot; bearbeitet wurde, und &quot;%2&quot; wurde inzwischen entfernt. Die Datei &quot;%1&quot; bleibt unverändert.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed. Both files are kept.</source>
        <translation>Die Datei &quot;%1&quot; ist entstanden, während &quot;%2&quot; bearbeitet wurde. Beide Dateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has been written, but the disk did not confirm it. File &quot;%2&quot; is kept.</source>
        <translation>Die Datei &quot;%1&quot; wurde geschrieben, aber der Datenträger hat es nicht bestätigt. Die Datei &quot;%2&quot; bleibt erhalten.</translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; failed (%2).</source>
        <extracomment>%2 is the engine&apos;s number for the failure.</extracomment>
        <translation>Die Bearbeitung der Datei &quot;%1&quot; ist fehlgeschlagen (%2).</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exist in the list of crypted files. Overwrite one?</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Die Datei &quot;%1&quot; steht bereits in der Liste der verschlüsselten Dateien. Überschreiben?</translation>
    </message>
    <message>
        <source>Encrypting file %1...</source>
        <translation>Datei %1 wird verschlüsselt …</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the filelist of non encrypted files.</source>
        <translation>Die Datei %1 konnte nicht aus der Liste der unverschlüsselten Dateien gelöscht werden.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is already exist in the file list for not encrypted files. Overwrite one?</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Die Datei &quot;%1&quot; steht bereits in der Liste der unverschlüsselten Dateien. Überschreiben?</translation>
    </message>
    <message>
        <source>Decrypting file %1...</source>
        <translation>Datei %1 wird entschlüsselt …</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the list of crypted files.</source>
        <translation>Die Datei %1 konnte nicht aus der Liste der verschlüsselten Dateien gelöscht werden.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exists. Overwrite one?</source>
        <translation>Die Datei &quot;%1&quot; ist bereits vorhanden. Überschreiben?</translation>
    </message>
    <message>
        <source>Converting file %1 to age...</source>
        <translation>Datei %1 wird in eine age-Datei umgewandelt …</translation>
    </message>
    <message>
        <source>The disk did not confirm that the original files are gone (%1). After a power failure they may be there again.</source>
        <extracomment>%1 is the system&apos;s description of the error.</extracomment>
        <translation>Der Datenträger hat nicht bestätigt, dass die ursprünglichen Dateien entfernt sind (%1). Nach einem Stromausfall können sie wieder vorhanden sein.</translation>
    </message>
</context>
<context>
    <name>FileGridModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Attr</source>
        <translation>Attr.</translation>
    </message>
    <message>
        <source>[no files]</source>
        <translation>[keine Dateien]</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Cannot find the help file &quot;%1&quot;. Reinstall Kelvane 95 to get its help back.</source>
        <translation>Die Hilfedatei &quot;%1&quot; wurde nicht gefunden. Installieren Sie Kelvane 95 neu, um die Hilfe wiederherzustellen.</translation>
    </message>
    <message>
        <source>Kelvane 95 Help</source>
        <translation>Kelvane 95 – Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
</context>
<context>
    <name>Kelvane</name>
    <message>
        <source>The cipher self-test failed: this build of Kelvane 95 must not be used.</source>
        <translation>Der Selbsttest der Verschlüsselung ist fehlgeschlagen: Diese Version von Kelvane 95 darf nicht verwendet werden.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Check out all your crypted files that was open now are closed. Close all applications, associated with them.Ensure that all files in the disk that should be protected,have been encrypted. Click cancel if you&apos;re not sure of it.</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Prüfen Sie, ob alle geöffneten verschlüsselten Dateien jetzt geschlossen sind. Schließen Sie alle Anwendungen, die mit ihnen arbeiten. Stellen Sie sicher, dass alle Dateien auf dem Datenträger, die geschützt werden sollen, verschlüsselt sind. Klicken Sie auf Abbrechen, wenn Sie sich nicht sicher sind.</translation>
    </message>
    <message>
        <source>%1 bytes per second</source>
        <translation>%1 Bytes pro Sekunde</translation>
    </message>
    <message>
        <source>%1 KBytes</source>
        <translation>%1 KByte</translation>
    </message>
    <message>
        <source>%1 Kbytes</source>
        <translation>%1 KByte</translation>
    </message>
    <message>
        <source>Do you really want to cancel process?</source>
        <translation>Soll der Vorgang wirklich abgebrochen werden?</translation>
    </message>
    <message>
        <source>Wait while finishing process the last file...</source>
        <translation>Bitte warten, die letzte Datei wird fertig bearbeitet …</translation>
    </message>
    <message>
        <source>Kelvane 95</source>
        <translation>Kelvane 95</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Optionen...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>E&amp;xplore</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Encrypt All</source>
        <translation>&amp;Alle verschlüsseln</translation>
    </message>
    <message>
        <source>&amp;Decrypt All</source>
        <translation>Alle &amp;entschlüsseln</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Verschlüsseln</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>De&amp;crypt</source>
        <translation>&amp;Entschlüsseln</translation>
    </message>
    <message>
        <source>Con&amp;vert to age…</source>
        <translation>In age-Datei &amp;umwandeln…</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Available for encryption</source>
        <translation>Zum Verschlüsseln verfügbar</translation>
    </message>
    <message>
        <source>Crypted files</source>
        <translation>Verschlüsselte Dateien</translation>
    </message>
    <message>
        <source>Plain file</source>
        <translation>Unverschlüsselte Datei</translation>
    </message>
    <message>
        <source>Crypted file</source>
        <translation>Verschlüsselte Datei</translation>
    </message>
    <message>
        <source>Cancel process</source>
        <translation>Vorgang abbrechen</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Vergangen:</translation>
    </message>
    <message>
        <source>Estimated:</source>
        <translation>Geschätzt:</translation>
    </message>
    <message>
        <source>Remaining:</source>
        <translation>Verbleibend:</translation>
    </message>
    <message>
        <source>Done:</source>
        <translation>Erledigt:</translation>
    </message>
    <message>
        <source>Throughout:</source>
        <extracomment>The bytes a second of the run; the English word stays, translate it as &quot;throughput&quot;.</extracomment>
        <translation>Durchsatz:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
</context>
<context>
    <name>MessageSeam</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Cannot generate crypted file &quot;%1&quot;.%2File name is too long.</source>
        <translation>Die verschlüsselte Datei &quot;%1&quot; kann nicht erstellt werden.%2Der Dateiname ist zu lang.</translation>
    </message>
    <message>
        <source>Couldn`t open file &quot;%1&quot;.</source>
        <translation>Die Datei &quot;%1&quot; konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Couldn`t create new file.</source>
        <translation>Die neue Datei konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Couldn`t read file &quot;%1&quot;.</source>
        <translation>Die Datei &quot;%1&quot; konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Invalid password for the file &quot;%1&quot;!</source>
        <translation>Ungültiges Passwort für die Datei &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>No memory.File &quot;%1&quot; is too big.</source>
        <translation>Nicht genug Speicher. Die Datei &quot;%1&quot; ist zu groß.</translation>
    </message>
    <message>
        <source>Cannot identify a file &quot;%1&quot; as a valid crypted file</source>
        <translation>Die Datei &quot;%1&quot; ist keine gültige verschlüsselte Datei</translation>
    </message>
    <message>
        <source>You have aborted processing &quot;%1&quot;.</source>
        <translation>Sie haben die Bearbeitung von &quot;%1&quot; abgebrochen.</translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; have been aborted. Disk is full.</source>
        <translation>Die Bearbeitung der Datei &quot;%1&quot; wurde abgebrochen. Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>Couldn`t make the key of the age file for &quot;%1&quot;. Not enough memory? The file is kept.</source>
        <translation>Der Schlüssel der age-Datei für &quot;%1&quot; konnte nicht erzeugt werden. Zu wenig Speicher? Die Datei bleibt erhalten.</translation>
    </message>
</context>
<context>
    <name>PasswordForm</name>
    <message>
        <source>Note:</source>
        <translation>Hinweis:</translation>
    </message>
    <message>
        <source>Case of characters is meaningful</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Submit</source>
        <translation>&amp;Bestätigen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation>Ein Passwort für eine Dateiliste</translation>
    </message>
    <message>
        <source>These characters can&apos;t be used in a password: %1<byte value="xd"/>Use letters, digits and signs of Western European languages.</source>
        <extracomment>%1 lists the refused characters; the second sentence starts a new line.</extracomment>
        <translation>Diese Zeichen können in einem Passwort nicht verwendet werden: %1<byte value="xd"/>Verwenden Sie Buchstaben, Ziffern und Zeichen westeuropäischer Sprachen.</translation>
    </message>
</context>
<context>
    <name>PasswordPolicy</name>
    <message>
        <source>File &quot;%1&quot; is skipped. Stop processing the remaining files too?</source>
        <translation>Die Datei &quot;%1&quot; wird übersprungen. Auch die Bearbeitung der übrigen Dateien beenden?</translation>
    </message>
</context>
<context>
    <name>PasswordPromptDialog</name>
    <message>
        <source>Confirmation</source>
        <translation>Bestätigung</translation>
    </message>
    <message>
        <source>You will be prompted to assign a password for any found file.</source>
        <translation>Für jede gefundene Datei werden Sie nach einem Passwort gefragt.</translation>
    </message>
    <message>
        <source>&amp;Proceed</source>
        <translation>&amp;Fortfahren</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>C&amp;hange password &quot;expire&quot; option</source>
        <translation>Option „läuft ab“ des Passworts ä&amp;ndern</translation>
    </message>
</context>
<context>
    <name>PasswordRules</name>
    <message>
        <source>the password is not valid UTF-8 text; save it as UTF-8</source>
        <translation>das Passwort ist kein gültiger UTF-8-Text; speichern Sie es als UTF-8</translation>
    </message>
    <message>
        <source>the password holds a character outside Windows-1252 (Western European); it must have 6 to 8 such characters</source>
        <translation>das Passwort enthält ein Zeichen außerhalb von Windows-1252 (westeuropäisch); es muss aus 6 bis 8 solchen Zeichen bestehen</translation>
    </message>
    <message>
        <source>the password must not hold a zero character</source>
        <translation>das Passwort darf kein Nullzeichen enthalten</translation>
    </message>
    <message>
        <source>the password must have 6 to 8 characters</source>
        <translation>das Passwort muss 6 bis 8 Zeichen haben</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Show &quot;.cry&quot; extensions for crypted files</source>
        <translation>Endung &quot;.cry&quot; bei verschlüsselten Dateien anzeigen</translation>
    </message>
    <message>
        <source>One password for a session</source>
        <translation>Ein Passwort für eine Sitzung</translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation>Ein Passwort für eine Dateiliste</translation>
    </message>
    <message>
        <source>expires in</source>
        <translation>läuft ab in</translation>
    </message>
    <message>
        <source>expires in (minutes)</source>
        <translation>läuft ab in (Minuten)</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>&amp;Reset value</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>S:</name>
    <message>
        <source></source>
        <comment>%1 is the file&apos;s name in quotes, %2 the system&apos;s reason.</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>%1 is the file&apos;s name in quotes, %2 the line&apos;s number, %3 a number.</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>%1 is the file&apos;s name in quotes, %2 the line&apos;s number.</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>%1 is the file&apos;s name in quotes, %2 the line&apos;s number.</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>why a walk passed over a file or folder, after its</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>%1 is the system&apos;s reason.</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>%1 is the new file&apos;s name, %2 a space or a line break.</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>&quot;Couldn`t&quot; keeps its grave accent in English only; write</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>&quot;Couldn`t&quot; keeps its grave accent in English only; write</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>&quot;Couldn`t&quot; keeps its grave accent in English only; write</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>the English lacks the space after &quot;memory.&quot;; the</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>the English lacks its full stop; the translation is a</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>&quot;have been&quot; stays wrong in English only; write the</comment>
        <translation></translation>
    </message>
    <message>
        <source></source>
        <comment>&quot;Couldn`t&quot; keeps its grave accent in English only; write</comment>
        <translation></translation>
    </message>
</context>
<context>
    <name>SelectionCommands</name>
    <message>
        <source>Couldn&apos;t delete file &quot;%1&quot;.</source>
        <translation>Die Datei &quot;%1&quot; konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is marked as read only.Proceed?</source>
        <translation>Die Datei &quot;%1&quot; ist schreibgeschützt. Fortfahren?</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be read in full, so it is left as it is. Changes to the preferences last until the program ends.</source>
        <translation>Die Einstellungsdatei %1 konnte nicht vollständig gelesen werden und bleibt daher unverändert. Änderungen an den Einstellungen gelten bis zum Programmende.</translation>
    </message>
    <message>
        <source>Program haven&apos;t been properly installed.</source>
        <extracomment>The English text keeps its slip; write the translation correctly.</extracomment>
        <translation>Das Programm wurde nicht richtig installiert.</translation>
    </message>
</context>
<context>
    <name>ShellCommands</name>
    <message>
        <source>Couldn&apos;t shell the respective application for the file %1.</source>
        <translation>Die zugehörige Anwendung für die Datei %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The file %1 has been left decrypted. Encrypt it again to protect it.</source>
        <translation>Die Datei %1 ist unverschlüsselt geblieben. Verschlüsseln Sie sie erneut, um sie zu schützen.</translation>
    </message>
    <message>
        <source>These files have been left decrypted: %1. Encrypt them again to protect them.</source>
        <translation>Diese Dateien sind unverschlüsselt geblieben: %1. Verschlüsseln Sie sie erneut, um sie zu schützen.</translation>
    </message>
    <message>
        <source>The file %1 is gone from its place, so it could not be encrypted again. If its application saved or moved it under another name, its plain text may remain there.</source>
        <translation>Die Datei %1 ist nicht mehr an ihrem Platz und konnte daher nicht erneut verschlüsselt werden. Falls ihre Anwendung sie unter einem anderen Namen gespeichert oder verschoben hat, kann ihr Klartext dort verblieben sein.</translation>
    </message>
    <message>
        <source>lp ended with code %1</source>
        <extracomment>%2 is what the printing program said, or the next text.</extracomment>
        <translation>lp wurde mit Code %1 beendet</translation>
    </message>
    <message>
        <source>The file %1 could not be printed: %2</source>
        <translation>Die Datei %1 konnte nicht gedruckt werden: %2</translation>
    </message>
    <message>
        <source>1 file is open in its application.</source>
        <translation>1 Datei ist in ihrer Anwendung geöffnet.</translation>
    </message>
    <message>
        <source>%1 files are open in their applications.</source>
        <translation>%1 Dateien sind in ihren Anwendungen geöffnet.</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <extracomment>%1 is a list of file names, %2 how many more there are.</extracomment>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>The file %1 is named in the record of files decrypted for an application, but it can&apos;t be shown to be the file this program decrypted there: it has been changed or replaced since, its path leads through a symbolic link, or an earlier version recorded it. It is not encrypted again; if it is yours and should be protected, encrypt it yourself.</source>
        <translation>Die Datei %1 steht im Verzeichnis der für eine Anwendung entschlüsselten Dateien, aber es lässt sich nicht belegen, dass es die Datei ist, die dieses Programm dort entschlüsselt hat: Sie wurde seither geändert oder ersetzt, ihr Pfad führt über eine symbolische Verknüpfung, oder eine frühere Version hat sie eingetragen. Sie wird nicht erneut verschlüsselt; wenn sie Ihnen gehört und geschützt werden soll, verschlüsseln Sie sie selbst.</translation>
    </message>
    <message>
        <source>These files are named in the record of files decrypted for an application, but can&apos;t be shown to be the files this program decrypted there (changed or replaced since, reached through a symbolic link, or recorded by an earlier version): %1. They are not encrypted again; if they are yours and should be protected, encrypt them yourself.</source>
        <translation>Diese Dateien stehen im Verzeichnis der für eine Anwendung entschlüsselten Dateien, aber es lässt sich nicht belegen, dass es die Dateien sind, die dieses Programm dort entschlüsselt hat (seither geändert oder ersetzt, über eine symbolische Verknüpfung erreicht oder von einer früheren Version eingetragen): %1. Sie werden nicht erneut verschlüsselt; wenn sie Ihnen gehören und geschützt werden sollen, verschlüsseln Sie sie selbst.</translation>
    </message>
    <message>
        <source>The record of files decrypted for an application, %1, is not a file this program keeps (a regular file of yours), so it was not read. Files an earlier run left decrypted can&apos;t be offered for encryption.</source>
        <translation>Das Verzeichnis der für eine Anwendung entschlüsselten Dateien, %1, ist keine Datei, wie dieses Programm sie führt (eine reguläre Datei, die Ihnen gehört), und wurde daher nicht gelesen. Dateien, die ein früherer Lauf unverschlüsselt hinterlassen hat, können nicht zum Verschlüsseln angeboten werden.</translation>
    </message>
    <message>
        <source>The file %1 was decrypted for an application when the program last ended, and is still readable. Encrypt it again now?</source>
        <translation>Die Datei %1 war beim letzten Programmende für eine Anwendung entschlüsselt und ist noch lesbar. Jetzt erneut verschlüsseln?</translation>
    </message>
    <message>
        <source>These files were: %1; decrypted for an application when the program last ended, and are still readable. Encrypt them again now?</source>
        <translation>Diese Dateien waren beim letzten Programmende für eine Anwendung entschlüsselt und sind noch lesbar: %1. Jetzt erneut verschlüsseln?</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Idle</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Idle.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <source>Wait till process is finished.</source>
        <translation>Bitte warten, bis der Vorgang beendet ist.</translation>
    </message>
    <message>
        <source>Processing search for files...</source>
        <translation>Dateien werden gesucht …</translation>
    </message>
</context>
<context>
    <name>TreeCommands</name>
    <message>
        <source>File &quot;%1&quot; has just been made from another file. File &quot;%2&quot; is kept.</source>
        <translation>Die Datei &quot;%1&quot; wurde gerade aus einer anderen Datei erzeugt. Die Datei &quot;%2&quot; bleibt erhalten.</translation>
    </message>
    <message>
        <source>This folder is a mount point and was not entered:</source>
        <translation>Dieser Ordner ist ein Einhängepunkt und wurde nicht durchsucht:</translation>
    </message>
    <message>
        <source>These folders are mount points and were not entered:</source>
        <translation>Diese Ordner sind Einhängepunkte und wurden nicht durchsucht:</translation>
    </message>
    <message>
        <source>Couldn&apos;t read the folder &quot;%1&quot;: %2. No file was encrypted or decrypted.</source>
        <extracomment>%2 is the system&apos;s description of the error.</extracomment>
        <translation>Der Ordner &quot;%1&quot; konnte nicht gelesen werden: %2. Es wurde keine Datei verschlüsselt oder entschlüsselt.</translation>
    </message>
    <message>
        <source>Recurse subdirectoryes?</source>
        <extracomment>&quot;subdirectoryes&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation>Unterordner einbeziehen?</translation>
    </message>
</context>
<context>
    <name>TreeWalk</name>
    <message>
        <source>a symbolic link, not followed</source>
        <translation>ein symbolischer Link, nicht verfolgt</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>on another file system, not entered</source>
        <translation>auf einem anderen Dateisystem, nicht betreten</translation>
    </message>
    <message>
        <source>a mount point, not entered</source>
        <translation>ein Einhängepunkt, nicht betreten</translation>
    </message>
    <message>
        <source>couldn&apos;t read the folder: %1</source>
        <translation>der Ordner konnte nicht gelesen werden: %1</translation>
    </message>
</context>
</TS>
