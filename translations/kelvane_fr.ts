<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Kelvane95</source>
        <translation>À propos de Kelvane95</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>based on </source>
        <translation>fondé sur </translation>
    </message>
    <message>
        <source>Visit our Web page:</source>
        <translation>Visitez notre site web&#xa0;:</translation>
    </message>
    <message>
        <source>OS version:</source>
        <translation>Système&#xa0;:</translation>
    </message>
    <message>
        <source>Total memory , Kb:</source>
        <translation>Mémoire totale, Ko&#xa0;:</translation>
    </message>
    <message>
        <source>Sorry, but couldn&apos;t launch Html browser</source>
        <translation>Désolé, le navigateur web n’a pas pu être lancé.</translation>
    </message>
</context>
<context>
    <name>AccessibleControls</name>
    <message>
        <source>level %1</source>
        <extracomment>how deep a folder lies in the folder list; %1 is a number.</extracomment>
        <translation>niveau %1</translation>
    </message>
</context>
<context>
    <name>AgeFormat</name>
    <message>
        <source>couldn&apos;t read the recipients file %1: %2</source>
        <translation>impossible de lire le fichier de destinataires %1 : %2</translation>
    </message>
    <message>
        <source>%1 is a folder; a recipients file holds one recipient a line</source>
        <translation>%1 est un dossier ; un fichier de destinataires contient un destinataire par ligne</translation>
    </message>
    <message>
        <source>%1 is not a regular file; a recipients file holds one recipient a line</source>
        <translation>%1 n&apos;est pas un fichier ordinaire ; un fichier de destinataires contient un destinataire par ligne</translation>
    </message>
    <message>
        <source>%1 is larger than 1 MiB; it can&apos;t be a recipients file</source>
        <translation>%1 dépasse 1 MiB ; ce ne peut pas être un fichier de destinataires</translation>
    </message>
    <message>
        <source>%1 line %2 is longer than %3 bytes; it can&apos;t be a recipient</source>
        <translation>%1, ligne %2 : plus de %3 octets ; ce ne peut pas être un destinataire</translation>
    </message>
    <message>
        <source>%1 line %2: not an X25519 age recipient (age1...)</source>
        <translation>%1, ligne %2 : pas un destinataire age X25519 (age1...)</translation>
    </message>
    <message>
        <source>%1 line %2: the recipient is not a valid key (of low order: the secret shared with it would be all zeros)</source>
        <translation>%1, ligne %2 : le destinataire n&apos;est pas une clé valide (d&apos;ordre faible : le secret partagé avec lui ne serait que des zéros)</translation>
    </message>
    <message>
        <source>%1 holds no recipient</source>
        <translation>%1 ne contient aucun destinataire</translation>
    </message>
</context>
<context>
    <name>AgePassphraseDialog</name>
    <message>
        <source>Convert to age</source>
        <translation>Convertir en fichier age</translation>
    </message>
    <message>
        <source>age is a modern, published file format that the &quot;age&quot; command and other programs open. The converted files are protected by this passphrase; each crypted file is deleted once its age file is verified and on disk.
A forgotten passphrase cannot be recovered.</source>
        <translation>age est un format de fichier moderne et publié, que la commande &quot;age&quot; et d’autres programmes savent ouvrir. Les fichiers convertis sont protégés par cette phrase secrète&#xa0;; chaque fichier chiffré est supprimé dès que son fichier age est vérifié et écrit sur le disque.
Une phrase secrète oubliée ne peut pas être retrouvée.</translation>
    </message>
    <message>
        <source>Passphrase:</source>
        <translation>Phrase secrète&#xa0;:</translation>
    </message>
    <message>
        <source>Repeat passphrase:</source>
        <translation>Répéter la phrase secrète&#xa0;:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>The passphrase is empty.</source>
        <translation>La phrase secrète est vide.</translation>
    </message>
    <message>
        <source>The two passphrases differ.</source>
        <translation>Les deux phrases secrètes ne sont pas identiques.</translation>
    </message>
</context>
<context>
    <name>ComboChangeDialog</name>
    <message>
        <source>Invalid device</source>
        <translation>Périphérique non valide</translation>
    </message>
    <message>
        <source>Device you have selected isn&apos;t ready. Please specify another one.</source>
        <translation>Le périphérique choisi n’est pas prêt. Veuillez en indiquer un autre.</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Lecteur</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Couldn&apos;t open the folder of the file %1: input/output error.</source>
        <translation>Impossible d’ouvrir le dossier du fichier %1&#xa0;: erreur d’entrée/sortie.</translation>
    </message>
</context>
<context>
    <name>DecryptDialog</name>
    <message>
        <source>Decryption procedure</source>
        <translation>Déchiffrement</translation>
    </message>
    <message>
        <source>You are to enter a valid password for the file</source>
        <translation>Saisissez le mot de passe valide du fichier</translation>
    </message>
</context>
<context>
    <name>DelDialog</name>
    <message>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>Are you sure to delete the file</source>
        <translation>Voulez-vous vraiment supprimer le fichier&#xa0;?</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>Delete &amp;All</source>
        <translation>&amp;Tout supprimer</translation>
    </message>
    <message>
        <source>Ca&amp;ncel All</source>
        <translation>Tout a&amp;nnuler</translation>
    </message>
</context>
<context>
    <name>EncryptDialog</name>
    <message>
        <source>Encryption procedure</source>
        <translation>Chiffrement</translation>
    </message>
    <message>
        <source>You are to assign a password for the file</source>
        <translation>Choisissez un mot de passe pour le fichier</translation>
    </message>
    <message>
        <source>Enter the password (6 - 8) simbols</source>
        <extracomment>&quot;simbols&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation>Saisissez le mot de passe (6 à 8 caractères)</translation>
    </message>
    <message>
        <source>Reenter the password for verification</source>
        <translation>Saisissez à nouveau le mot de passe pour vérification</translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation>La vérification a échoué.</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>File &quot;%1&quot; is fisically not found in the current directory</source>
        <extracomment>&quot;fisically&quot; stays misspelled in English only; write &quot;physically&quot; correctly.</extracomment>
        <translation>Le fichier &quot;%1&quot; est physiquement introuvable dans le dossier courant</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is set as read only.Proceed?</source>
        <translation>Le fichier &quot;%1&quot; est en lecture seule. Continuer&#xa0;?</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being encrypted. Both files are kept.</source>
        <translation>Le fichier &quot;%1&quot; a changé pendant son chiffrement. Les deux fichiers sont conservés.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being decrypted. Both files are kept.</source>
        <translation>Le fichier &quot;%1&quot; a changé pendant son déchiffrement. Les deux fichiers sont conservés.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being converted. Both files are kept.</source>
        <translation>Le fichier &quot;%1&quot; a changé pendant sa conversion. Les deux fichiers sont conservés.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be encrypted.</source>
        <translation>Le fichier &quot;%1&quot; est un lien symbolique. Seul le fichier vers lequel il pointe peut être chiffré.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be decrypted.</source>
        <translation>Le fichier &quot;%1&quot; est un lien symbolique. Seul le fichier vers lequel il pointe peut être déchiffré.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the crypted file. File &quot;%2&quot; is not encrypted.</source>
        <translation>Le dossier &quot;%1&quot; occupe la place du fichier chiffré. Le fichier &quot;%2&quot; n’est pas chiffré.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the crypted file: it is no file. File &quot;%2&quot; is not encrypted.</source>
        <translation>&quot;%1&quot; occupe la place du fichier chiffré et n’est pas un fichier. Le fichier &quot;%2&quot; n’est pas chiffré.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the decrypted file. File &quot;%2&quot; is not decrypted.</source>
        <translation>Le dossier &quot;%1&quot; occupe la place du fichier déchiffré. Le fichier &quot;%2&quot; n’est pas déchiffré.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the decrypted file: it is no file. File &quot;%2&quot; is not decrypted.</source>
        <translation>&quot;%1&quot; occupe la place du fichier déchiffré et n’est pas un fichier. Le fichier &quot;%2&quot; n’est pas déchiffré.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the age file. File &quot;%2&quot; is not converted.</source>
        <translation>Le dossier &quot;%1&quot; occupe la place du fichier age. Le fichier &quot;%2&quot; n’est pas converti.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the age file: it is no file. File &quot;%2&quot; is not converted.</source>
        <translation>&quot;%1&quot; occupe la place du fichier age et n’est pas un fichier. Le fichier &quot;%2&quot; n’est pas converti.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has 1 other name; its content would stay readable through it. It is not encrypted.</source>
        <translation>Le fichier &quot;%1&quot; a un autre nom&#xa0;; son contenu resterait lisible par celui-ci. Il n’est pas chiffré.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has %2 other names; its content would stay readable through them. It is not encrypted.</source>
        <translation>Le fichier &quot;%1&quot; a %2 autres noms&#xa0;; son contenu resterait lisible par ceux-ci. Il n’est pas chiffré.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed, and &quot;%2&quot; has been removed meanwhile. File &quot;%1&quot; is kept as it was.</source>
        <translation>Le fichier &quot;%1&quot; est apparu pendant le traitement de &quot;%2&quot;, et &quot;%2&quot; a été supprimé entre-temps. Le fichier &quot;%1&quot; est conservé tel quel.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed. Both files are kept.</source>
        <translation>Le fichier &quot;%1&quot; est apparu pendant le traitement de &quot;%2&quot;. Les deux fichiers sont conservés.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has been written, but the disk did not confirm it. File &quot;%2&quot; is kept.</source>
        <translation>Le fichier &quot;%1&quot; a été écrit, mais le disque ne l’a pas confirmé. Le fichier &quot;%2&quot; est conservé.</translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; failed (%2).</source>
        <extracomment>%2 is the engine&apos;s number for the failure.</extracomment>
        <translation>Le traitement du fichier &quot;%1&quot; a échoué (%2).</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exist in the list of crypted files. Overwrite one?</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Le fichier &quot;%1&quot; existe déjà dans la liste des fichiers chiffrés. Le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>Encrypting file %1...</source>
        <translation>Chiffrement du fichier %1…</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the filelist of non encrypted files.</source>
        <translation>Impossible de supprimer le fichier %1 de la liste des fichiers en clair.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is already exist in the file list for not encrypted files. Overwrite one?</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Le fichier &quot;%1&quot; existe déjà dans la liste des fichiers en clair. Le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>Decrypting file %1...</source>
        <translation>Déchiffrement du fichier %1…</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the list of crypted files.</source>
        <translation>Impossible de supprimer le fichier %1 de la liste des fichiers chiffrés.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exists. Overwrite one?</source>
        <translation>Le fichier &quot;%1&quot; existe déjà. Le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>Converting file %1 to age...</source>
        <translation>Conversion du fichier %1 en fichier age…</translation>
    </message>
    <message>
        <source>The disk did not confirm that the original files are gone (%1). After a power failure they may be there again.</source>
        <extracomment>%1 is the system&apos;s description of the error.</extracomment>
        <translation>Le disque n’a pas confirmé la disparition des fichiers d’origine (%1). Après une coupure de courant, ils pourraient réapparaître.</translation>
    </message>
</context>
<context>
    <name>FileGridModel</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Attr</source>
        <translation>Attr.</translation>
    </message>
    <message>
        <source>[no files]</source>
        <translation>[aucun fichier]</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Cannot find the help file &quot;%1&quot;. Reinstall Kelvane 95 to get its help back.</source>
        <translation>Le fichier d’aide &quot;%1&quot; est introuvable. Réinstallez Kelvane 95 pour retrouver son aide.</translation>
    </message>
    <message>
        <source>Kelvane 95 Help</source>
        <translation>Aide de Kelvane 95</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Précédent</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>Sui&amp;vant</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Page d’aide</translation>
    </message>
</context>
<context>
    <name>Kelvane</name>
    <message>
        <source>The cipher self-test failed: this build of Kelvane 95 must not be used.</source>
        <translation>L’autotest du chiffrement a échoué&#xa0;: cette version de Kelvane 95 ne doit pas être utilisée.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Check out all your crypted files that was open now are closed. Close all applications, associated with them.Ensure that all files in the disk that should be protected,have been encrypted. Click cancel if you&apos;re not sure of it.</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Vérifiez que tous vos fichiers chiffrés qui étaient ouverts sont maintenant fermés. Fermez toutes les applications qui les utilisent. Assurez-vous que tous les fichiers du disque qui doivent être protégés ont été chiffrés. Cliquez sur Annuler si vous n’en êtes pas sûr.</translation>
    </message>
    <message>
        <source>%1 bytes per second</source>
        <translation>%1 octets par seconde</translation>
    </message>
    <message>
        <source>%1 KBytes</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 Kbytes</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>Do you really want to cancel process?</source>
        <translation>Voulez-vous vraiment annuler le traitement&#xa0;?</translation>
    </message>
    <message>
        <source>Wait while finishing process the last file...</source>
        <translation>Veuillez patienter, le dernier fichier est en cours de traitement…</translation>
    </message>
    <message>
        <source>Kelvane 95</source>
        <translation>Kelvane 95</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;ide</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>À &amp;propos...</translation>
    </message>
    <message>
        <source>E&amp;xplore</source>
        <translation>E&amp;xplorer</translation>
    </message>
    <message>
        <source>&amp;Encrypt All</source>
        <translation>Tout &amp;chiffrer</translation>
    </message>
    <message>
        <source>&amp;Decrypt All</source>
        <translation>Tout &amp;déchiffrer</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Ouvrir</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Chiffrer</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimer</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>De&amp;crypt</source>
        <translation>&amp;Déchiffrer</translation>
    </message>
    <message>
        <source>Con&amp;vert to age…</source>
        <translation>&amp;Convertir en fichier age…</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <source>Available for encryption</source>
        <translation>Disponibles pour le chiffrement</translation>
    </message>
    <message>
        <source>Crypted files</source>
        <translation>Fichiers chiffrés</translation>
    </message>
    <message>
        <source>Plain file</source>
        <translation>Fichier en clair</translation>
    </message>
    <message>
        <source>Crypted file</source>
        <translation>Fichier chiffré</translation>
    </message>
    <message>
        <source>Cancel process</source>
        <translation>Annuler le traitement</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Écoulé&#xa0;:</translation>
    </message>
    <message>
        <source>Estimated:</source>
        <translation>Estimé&#xa0;:</translation>
    </message>
    <message>
        <source>Remaining:</source>
        <translation>Restant&#xa0;:</translation>
    </message>
    <message>
        <source>Done:</source>
        <translation>Traité&#xa0;:</translation>
    </message>
    <message>
        <source>Throughout:</source>
        <extracomment>The bytes a second of the run; the English word stays, translate it as &quot;throughput&quot;.</extracomment>
        <translation>Débit&#xa0;:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Taille&#xa0;:</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Tous</translation>
    </message>
</context>
<context>
    <name>MessageSeam</name>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmation</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Cannot generate crypted file &quot;%1&quot;.%2File name is too long.</source>
        <translation>Impossible de créer le fichier chiffré &quot;%1&quot;.%2Le nom de fichier est trop long.</translation>
    </message>
    <message>
        <source>Couldn`t open file &quot;%1&quot;.</source>
        <translation>Impossible d’ouvrir le fichier &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Couldn`t create new file.</source>
        <translation>Impossible de créer le nouveau fichier.</translation>
    </message>
    <message>
        <source>Couldn`t read file &quot;%1&quot;.</source>
        <translation>Impossible de lire le fichier &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Invalid password for the file &quot;%1&quot;!</source>
        <translation>Mot de passe non valide pour le fichier &quot;%1&quot;&#xa0;!</translation>
    </message>
    <message>
        <source>No memory.File &quot;%1&quot; is too big.</source>
        <translation>Mémoire insuffisante. Le fichier &quot;%1&quot; est trop volumineux.</translation>
    </message>
    <message>
        <source>Cannot identify a file &quot;%1&quot; as a valid crypted file</source>
        <translation>Le fichier &quot;%1&quot; n’est pas reconnu comme un fichier chiffré valide</translation>
    </message>
    <message>
        <source>You have aborted processing &quot;%1&quot;.</source>
        <translation>Vous avez interrompu le traitement de &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; have been aborted. Disk is full.</source>
        <translation>Le traitement du fichier &quot;%1&quot; a été interrompu. Le disque est plein.</translation>
    </message>
    <message>
        <source>Couldn`t make the key of the age file for &quot;%1&quot;. Not enough memory? The file is kept.</source>
        <translation>Impossible de produire la clé du fichier age pour &quot;%1&quot;. Mémoire insuffisante&#xa0;? Le fichier est conservé.</translation>
    </message>
</context>
<context>
    <name>PasswordForm</name>
    <message>
        <source>Note:</source>
        <translation>Remarque&#xa0;:</translation>
    </message>
    <message>
        <source>Case of characters is meaningful</source>
        <translation>Respectez les majuscules et minuscules</translation>
    </message>
    <message>
        <source>&amp;Submit</source>
        <translation>&amp;Valider</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation>Un mot de passe par liste de fichiers</translation>
    </message>
    <message>
        <source>These characters can&apos;t be used in a password: %1<byte value="xd"/>Use letters, digits and signs of Western European languages.</source>
        <extracomment>%1 lists the refused characters; the second sentence starts a new line.</extracomment>
        <translation>Ces caractères ne peuvent pas figurer dans un mot de passe&#xa0;: %1<byte value="xd"/>Utilisez des lettres, des chiffres et des signes des langues d’Europe occidentale.</translation>
    </message>
</context>
<context>
    <name>PasswordPolicy</name>
    <message>
        <source>File &quot;%1&quot; is skipped. Stop processing the remaining files too?</source>
        <translation>Le fichier &quot;%1&quot; est ignoré. Arrêter aussi le traitement des fichiers restants&#xa0;?</translation>
    </message>
</context>
<context>
    <name>PasswordPromptDialog</name>
    <message>
        <source>Confirmation</source>
        <translation>Confirmation</translation>
    </message>
    <message>
        <source>You will be prompted to assign a password for any found file.</source>
        <translation>Un mot de passe vous sera demandé pour chaque fichier trouvé.</translation>
    </message>
    <message>
        <source>&amp;Proceed</source>
        <translation>&amp;Continuer</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>C&amp;hange password &quot;expire&quot; option</source>
        <translation>&amp;Modifier l’option «&#xa0;expire dans&#xa0;» du mot de passe</translation>
    </message>
</context>
<context>
    <name>PasswordRules</name>
    <message>
        <source>the password is not valid UTF-8 text; save it as UTF-8</source>
        <translation>le mot de passe n&apos;est pas un texte UTF-8 valide ; enregistrez-le en UTF-8</translation>
    </message>
    <message>
        <source>the password holds a character outside Windows-1252 (Western European); it must have 6 to 8 such characters</source>
        <translation>le mot de passe contient un caractère hors de Windows-1252 (Europe de l&apos;Ouest) ; il doit compter de 6 à 8 de ces caractères</translation>
    </message>
    <message>
        <source>the password must not hold a zero character</source>
        <translation>le mot de passe ne doit pas contenir de caractère nul</translation>
    </message>
    <message>
        <source>the password must have 6 to 8 characters</source>
        <translation>le mot de passe doit compter de 6 à 8 caractères</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Préférences</translation>
    </message>
    <message>
        <source>Show &quot;.cry&quot; extensions for crypted files</source>
        <translation>Afficher l’extension &quot;.cry&quot; des fichiers chiffrés</translation>
    </message>
    <message>
        <source>One password for a session</source>
        <translation>Un mot de passe par session</translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation>Un mot de passe par liste de fichiers</translation>
    </message>
    <message>
        <source>expires in</source>
        <translation>expire dans</translation>
    </message>
    <message>
        <source>expires in (minutes)</source>
        <translation>expire dans (minutes)</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>&amp;Reset value</source>
        <translation>&amp;Réinitialiser</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
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
        <translation>Impossible de supprimer le fichier &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is marked as read only.Proceed?</source>
        <translation>Le fichier &quot;%1&quot; est en lecture seule. Continuer&#xa0;?</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be read in full, so it is left as it is. Changes to the preferences last until the program ends.</source>
        <translation>Le fichier de réglages %1 n’a pas pu être lu en entier&#xa0;; il est donc laissé tel quel. Les modifications des préférences durent jusqu’à la fin du programme.</translation>
    </message>
    <message>
        <source>Program haven&apos;t been properly installed.</source>
        <extracomment>The English text keeps its slip; write the translation correctly.</extracomment>
        <translation>Le programme n’a pas été installé correctement.</translation>
    </message>
</context>
<context>
    <name>ShellCommands</name>
    <message>
        <source>Couldn&apos;t shell the respective application for the file %1.</source>
        <translation>Impossible de lancer l’application associée au fichier %1.</translation>
    </message>
    <message>
        <source>The file %1 has been left decrypted. Encrypt it again to protect it.</source>
        <translation>Le fichier %1 est resté déchiffré. Chiffrez-le à nouveau pour le protéger.</translation>
    </message>
    <message>
        <source>These files have been left decrypted: %1. Encrypt them again to protect them.</source>
        <translation>Ces fichiers sont restés déchiffrés&#xa0;: %1. Chiffrez-les à nouveau pour les protéger.</translation>
    </message>
    <message>
        <source>The file %1 is gone from its place, so it could not be encrypted again. If its application saved or moved it under another name, its plain text may remain there.</source>
        <translation>Le fichier %1 n’est plus à sa place&#xa0;; il n’a donc pas pu être chiffré à nouveau. Si son application l’a enregistré ou déplacé sous un autre nom, son contenu en clair peut y être resté.</translation>
    </message>
    <message>
        <source>lp ended with code %1</source>
        <extracomment>%2 is what the printing program said, or the next text.</extracomment>
        <translation>lp s’est terminé avec le code %1</translation>
    </message>
    <message>
        <source>The file %1 could not be printed: %2</source>
        <translation>Le fichier %1 n’a pas pu être imprimé&#xa0;: %2</translation>
    </message>
    <message>
        <source>1 file is open in its application.</source>
        <translation>1 fichier est ouvert dans son application.</translation>
    </message>
    <message>
        <source>%1 files are open in their applications.</source>
        <translation>%1 fichiers sont ouverts dans leurs applications.</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <extracomment>%1 is a list of file names, %2 how many more there are.</extracomment>
        <translation>%1 et %2 autres</translation>
    </message>
    <message>
        <source>The file %1 is named in the record of files decrypted for an application, but it can&apos;t be shown to be the file this program decrypted there: it has been changed or replaced since, its path leads through a symbolic link, or an earlier version recorded it. It is not encrypted again; if it is yours and should be protected, encrypt it yourself.</source>
        <translation>Le fichier %1 figure dans le registre des fichiers déchiffrés pour une application, mais rien ne prouve que ce soit le fichier que ce programme y a déchiffré&#xa0;: il a été modifié ou remplacé depuis, son chemin passe par un lien symbolique, ou une version antérieure l’a inscrit. Il n’est pas chiffré à nouveau&#xa0;; s’il vous appartient et doit être protégé, chiffrez-le vous-même.</translation>
    </message>
    <message>
        <source>These files are named in the record of files decrypted for an application, but can&apos;t be shown to be the files this program decrypted there (changed or replaced since, reached through a symbolic link, or recorded by an earlier version): %1. They are not encrypted again; if they are yours and should be protected, encrypt them yourself.</source>
        <translation>Ces fichiers figurent dans le registre des fichiers déchiffrés pour une application, mais rien ne prouve que ce soient les fichiers que ce programme y a déchiffrés (modifiés ou remplacés depuis, atteints par un lien symbolique, ou inscrits par une version antérieure)&#xa0;: %1. Ils ne sont pas chiffrés à nouveau&#xa0;; s’ils vous appartiennent et doivent être protégés, chiffrez-les vous-même.</translation>
    </message>
    <message>
        <source>The record of files decrypted for an application, %1, is not a file this program keeps (a regular file of yours), so it was not read. Files an earlier run left decrypted can&apos;t be offered for encryption.</source>
        <translation>Le registre des fichiers déchiffrés pour une application, %1, n’est pas un fichier tenu par ce programme (un fichier ordinaire qui vous appartient)&#xa0;; il n’a donc pas été lu. Les fichiers laissés déchiffrés par une exécution précédente ne peuvent pas être proposés au chiffrement.</translation>
    </message>
    <message>
        <source>The file %1 was decrypted for an application when the program last ended, and is still readable. Encrypt it again now?</source>
        <translation>Le fichier %1 était déchiffré pour une application lors de la dernière fermeture du programme, et il est toujours lisible. Le chiffrer à nouveau maintenant&#xa0;?</translation>
    </message>
    <message>
        <source>These files were: %1; decrypted for an application when the program last ended, and are still readable. Encrypt them again now?</source>
        <translation>Ces fichiers étaient déchiffrés pour une application lors de la dernière fermeture du programme, et ils sont toujours lisibles&#xa0;: %1. Les chiffrer à nouveau maintenant&#xa0;?</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Idle</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>Idle.</source>
        <translation>Prêt.</translation>
    </message>
    <message>
        <source>Wait till process is finished.</source>
        <translation>Veuillez patienter jusqu’à la fin du traitement.</translation>
    </message>
    <message>
        <source>Processing search for files...</source>
        <translation>Recherche des fichiers…</translation>
    </message>
</context>
<context>
    <name>TreeCommands</name>
    <message>
        <source>File &quot;%1&quot; has just been made from another file. File &quot;%2&quot; is kept.</source>
        <translation>Le fichier &quot;%1&quot; vient d’être produit à partir d’un autre fichier. Le fichier &quot;%2&quot; est conservé.</translation>
    </message>
    <message>
        <source>This folder is a mount point and was not entered:</source>
        <translation>Ce dossier est un point de montage et n’a pas été parcouru&#xa0;:</translation>
    </message>
    <message>
        <source>These folders are mount points and were not entered:</source>
        <translation>Ces dossiers sont des points de montage et n’ont pas été parcourus&#xa0;:</translation>
    </message>
    <message>
        <source>Couldn&apos;t read the folder &quot;%1&quot;: %2. No file was encrypted or decrypted.</source>
        <extracomment>%2 is the system&apos;s description of the error.</extracomment>
        <translation>Impossible de lire le dossier &quot;%1&quot;&#xa0;: %2. Aucun fichier n’a été chiffré ni déchiffré.</translation>
    </message>
    <message>
        <source>Recurse subdirectoryes?</source>
        <extracomment>&quot;subdirectoryes&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation>Inclure les sous-dossiers&#xa0;?</translation>
    </message>
</context>
<context>
    <name>TreeWalk</name>
    <message>
        <source>a symbolic link, not followed</source>
        <translation>un lien symbolique, non suivi</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>on another file system, not entered</source>
        <translation>sur un autre système de fichiers, non parcouru</translation>
    </message>
    <message>
        <source>a mount point, not entered</source>
        <translation>un point de montage, non parcouru</translation>
    </message>
    <message>
        <source>couldn&apos;t read the folder: %1</source>
        <translation>impossible de lire le dossier : %1</translation>
    </message>
</context>
</TS>
