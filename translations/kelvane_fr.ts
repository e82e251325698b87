<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Kelvane95</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>based on </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visit our Web page:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OS version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total memory , Kb:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sorry, but couldn&apos;t launch Html browser</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AccessibleControls</name>
    <message>
        <source>level %1</source>
        <extracomment>how deep a folder lies in the folder list; %1 is a number.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AgePassphraseDialog</name>
    <message>
        <source>Convert to age</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>age is a modern, published file format that the &quot;age&quot; command and other programs open. The converted files are protected by this passphrase; each crypted file is deleted once its age file is verified and on disk.
A forgotten passphrase cannot be recovered.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Passphrase:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Repeat passphrase:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passphrase is empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The two passphrases differ.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComboChangeDialog</name>
    <message>
        <source>Invalid device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device you have selected isn&apos;t ready. Please specify another one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Couldn&apos;t open the folder of the file %1: input/output error.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DecryptDialog</name>
    <message>
        <source>Decryption procedure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are to enter a valid password for the file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DelDialog</name>
    <message>
        <source>Confirmation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure to delete the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete &amp;All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ca&amp;ncel All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EncryptDialog</name>
    <message>
        <source>Encryption procedure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are to assign a password for the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the password (6 - 8) simbols</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reenter the password for verification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>File &quot;%1&quot; is fisically not found in the current directory</source>
        <extracomment>&quot;fisically&quot; stays misspelled in English only; write &quot;physically&quot; correctly.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is set as read only.Proceed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being encrypted. Both files are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being decrypted. Both files are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being converted. Both files are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be encrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be decrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the crypted file. File &quot;%2&quot; is not encrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the crypted file: it is no file. File &quot;%2&quot; is not encrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the decrypted file. File &quot;%2&quot; is not decrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the decrypted file: it is no file. File &quot;%2&quot; is not decrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the age file. File &quot;%2&quot; is not converted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the age file: it is no file. File &quot;%2&quot; is not converted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has 1 other name; its content would stay readable through it. It is not encrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has %2 other names; its content would stay readable through them. It is not encrypted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed, and &quot;%2&quot; has been removed meanwhile. File &quot;%1&quot; is kept as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed. Both files are kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has been written, but the disk did not confirm it. File &quot;%2&quot; is kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; failed (%2).</source>
        <extracomment>%2 is the engine&apos;s number for the failure.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exist in the list of crypted files. Overwrite one?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encrypting file %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the filelist of non encrypted files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is already exist in the file list for not encrypted files. Overwrite one?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrypting file %1...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the list of crypted files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exists. Overwrite one?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting file %1 to age...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk did not confirm that the original files are gone (%1). After a power failure they may be there again.</source>
        <extracomment>%1 is the system&apos;s description of the error.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileGridModel</name>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[no files]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Cannot find the help file &quot;%1&quot;. Reinstall Kelvane 95 to get its help back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kelvane 95 Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help page</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Kelvane</name>
    <message>
        <source>The cipher self-test failed: this build of Kelvane 95 must not be used.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Check out all your crypted files that was open now are closed. Close all applications, associated with them.Ensure that all files in the disk that should be protected,have been encrypted. Click cancel if you&apos;re not sure of it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 bytes per second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 KBytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Kbytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to cancel process?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait while finishing process the last file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kelvane 95</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xplore</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Encrypt All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Decrypt All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;crypt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Con&amp;vert to age…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available for encryption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crypted files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plain file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crypted file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel process</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Estimated:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remaining:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Throughout:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>&amp;All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageSeam</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Cannot generate crypted file &quot;%1&quot;.%2File name is too long.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn`t open file &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn`t create new file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn`t read file &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid password for the file &quot;%1&quot;!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No memory.File &quot;%1&quot; is too big.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot identify a file &quot;%1&quot; as a valid crypted file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have aborted processing &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; have been aborted. Disk is full.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn`t make the key of the age file for &quot;%1&quot;. Not enough memory? The file is kept.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordForm</name>
    <message>
        <source>Note:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Case of characters is meaningful</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Submit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These characters can&apos;t be used in a password: %1<byte value="xd"/>Use letters, digits and signs of Western European languages.</source>
        <extracomment>%1 lists the refused characters; <byte value="xd"/> starts the second line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordPolicy</name>
    <message>
        <source>File &quot;%1&quot; is skipped. Stop processing the remaining files too?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PasswordPromptDialog</name>
    <message>
        <source>Confirmation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You will be prompted to assign a password for any found file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Proceed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;hange password &quot;expire&quot; option</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &quot;.cry&quot; extensions for crypted files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One password for a session</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expires in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expires in (minutes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Reset value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SelectionCommands</name>
    <message>
        <source>Couldn&apos;t delete file &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is marked as read only.Proceed?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be read in full, so it is left as it is. Changes to the preferences last until the program ends.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program haven&apos;t been properly installed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShellCommands</name>
    <message>
        <source>Couldn&apos;t shell the respective application for the file %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 has been left decrypted. Encrypt it again to protect it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files have been left decrypted: %1. Encrypt them again to protect them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is gone from its place, so it could not be encrypted again. If its application saved or moved it under another name, its plain text may remain there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lp ended with code %1</source>
        <extracomment>%2 is what the printing program said, or the next text.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be printed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file is open in its application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files are open in their applications.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <extracomment>%1 is a list of file names, %2 how many more there are.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is named in the record of files decrypted for an application, but it can&apos;t be shown to be the file this program decrypted there: it has been changed or replaced since, its path leads through a symbolic link, or an earlier version recorded it. It is not encrypted again; if it is yours and should be protected, encrypt it yourself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files are named in the record of files decrypted for an application, but can&apos;t be shown to be the files this program decrypted there (changed or replaced since, reached through a symbolic link, or recorded by an earlier version): %1. They are not encrypted again; if they are yours and should be protected, encrypt them yourself.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The record of files decrypted for an application, %1, is not a file this program keeps (a regular file of yours), so it was not read. Files an earlier run left decrypted can&apos;t be offered for encryption.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was decrypted for an application when the program last ended, and is still readable. Encrypt it again now?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files were: %1; decrypted for an application when the program last ended, and are still readable. Encrypt them again now?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait till process is finished.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Processing search for files...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TreeCommands</name>
    <message>
        <source>File &quot;%1&quot; has just been made from another file. File &quot;%2&quot; is kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This folder is a mount point and was not entered:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These folders are mount points and were not entered:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t read the folder &quot;%1&quot;: %2. No file was encrypted or decrypted.</source>
        <extracomment>%2 is the system&apos;s description of the error.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recurse subdirectoryes?</source>
        <extracomment>&quot;subdirectoryes&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
