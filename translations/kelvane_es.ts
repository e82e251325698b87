<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Kelvane95</source>
        <translation>Acerca de Kelvane95</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>based on </source>
        <translation>basado en </translation>
    </message>
    <message>
        <source>Visit our Web page:</source>
        <translation>Visite nuestra página web:</translation>
    </message>
    <message>
        <source>OS version:</source>
        <translation>Sistema operativo:</translation>
    </message>
    <message>
        <source>Total memory , Kb:</source>
        <translation>Memoria total, KB:</translation>
    </message>
    <message>
        <source>Sorry, but couldn&apos;t launch Html browser</source>
        <translation>Lo sentimos, no se pudo abrir el navegador web.</translation>
    </message>
</context>
<context>
    <name>AccessibleControls</name>
    <message>
        <source>level %1</source>
        <extracomment>how deep a folder lies in the folder list; %1 is a number.</extracomment>
        <translation>nivel %1</translation>
    </message>
</context>
<context>
    <name>AgeFormat</name>
    <message>
        <source>couldn&apos;t read the recipients file %1: %2</source>
        <translation>no se pudo leer el archivo de destinatarios %1: %2</translation>
    </message>
    <message>
        <source>%1 is a folder; a recipients file holds one recipient a line</source>
        <translation>%1 es una carpeta; un archivo de destinatarios contiene un destinatario por línea</translation>
    </message>
    <message>
        <source>%1 is not a regular file; a recipients file holds one recipient a line</source>
        <translation>%1 no es un archivo regular; un archivo de destinatarios contiene un destinatario por línea</translation>
    </message>
    <message>
        <source>%1 is larger than 1 MiB; it can&apos;t be a recipients file</source>
        <translation>%1 ocupa más de 1 MiB; no puede ser un archivo de destinatarios</translation>
    </message>
    <message>
        <source>%1 line %2 is longer than %3 bytes; it can&apos;t be a recipient</source>
        <translation>%1, línea %2: ocupa más de %3 bytes; no puede ser un destinatario</translation>
    </message>
    <message>
        <source>%1 line %2: not an X25519 age recipient (age1...)</source>
        <translation>%1, línea %2: no es un destinatario age X25519 (age1...)</translation>
    </message>
    <message>
        <source>%1 line %2: the recipient is not a valid key (of low order: the secret shared with it would be all zeros)</source>
        <translation>%1, línea %2: el destinatario no es una clave válida (de orden bajo: el secreto compartido con él serían solo ceros)</translation>
    </message>
    <message>
        <source>%1 holds no recipient</source>
        <translation>%1 no contiene ningún destinatario</translation>
    </message>
</context>
<context>
    <name>AgePassphraseDialog</name>
    <message>
        <source>Convert to age</source>
        <translation>Convertir a archivo age</translation>
    </message>
    <message>
        <source>age is a modern, published file format that the &quot;age&quot; command and other programs open. The converted files are protected by this passphrase; each crypted file is deleted once its age file is verified and on disk.
A forgotten passphrase cannot be recovered.</source>
        <translation>age es un formato de archivo moderno y público que abren la orden &quot;age&quot; y otros programas. Los archivos convertidos quedan protegidos por esta frase de contraseña; cada archivo cifrado se elimina en cuanto su archivo age está verificado y guardado en el disco.
Una frase de contraseña olvidada no se puede recuperar.</translation>
    </message>
    <message>
        <source>Passphrase:</source>
        <translation>Frase de contraseña:</translation>
    </message>
    <message>
        <source>Repeat passphrase:</source>
        <translation>Repita la frase de contraseña:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>The passphrase is empty.</source>
        <translation>La frase de contraseña está vacía.</translation>
    </message>
    <message>
        <source>The two passphrases differ.</source>
        <translation>Las dos frases de contraseña no coinciden.</translation>
    </message>
</context>
<context>
    <name>ComboChangeDialog</name>
    <message>
        <source>Invalid device</source>
        <translation>Dispositivo no válido</translation>
    </message>
    <message>
        <source>Device you have selected isn&apos;t ready. Please specify another one.</source>
        <translation>El dispositivo seleccionado no está listo. Indique otro, por favor.</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unidad</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Couldn&apos;t open the folder of the file %1: input/output error.</source>
        <translation>No se pudo abrir la carpeta del archivo %1: error de entrada/salida.</translation>
    </message>
</context>
<context>
    <name>DecryptDialog</name>
    <message>
        <source>Decryption procedure</source>
        <translation>Descifrado</translation>
    </message>
    <message>
        <source>You are to enter a valid password for the file</source>
        <translation>Introduzca la contraseña válida del archivo</translation>
    </message>
</context>
<context>
    <name>DelDialog</name>
    <message>
        <source>Confirmation</source>
        <translation>Confirmación</translation>
    </message>
    <message>
        <source>Are you sure to delete the file</source>
        <translation>¿Seguro que desea eliminar el archivo?</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>Delete &amp;All</source>
        <translation>Eliminar &amp;todo</translation>
    </message>
    <message>
        <source>Ca&amp;ncel All</source>
        <translation>Cancelar t&amp;odo</translation>
    </message>
</context>
<context>
    <name>EncryptDialog</name>
    <message>
        <source>Encryption procedure</source>
        <translation>Cifrado</translation>
    </message>
    <message>
        <source>You are to assign a password for the file</source>
        <translation>Asigne una contraseña al archivo</translation>
    </message>
    <message>
        <source>Enter the password (6 - 8) simbols</source>
        <extracomment>&quot;simbols&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation>Introduzca la contraseña (de 6 a 8 caracteres)</translation>
    </message>
    <message>
        <source>Reenter the password for verification</source>
        <translation>Vuelva a introducir la contraseña para comprobarla</translation>
    </message>
    <message>
        <source>Verification failed.</source>
        <translation>La comprobación ha fallado.</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>File &quot;%1&quot; is fisically not found in the current directory</source>
        <extracomment>&quot;fisically&quot; stays misspelled in English only; write &quot;physically&quot; correctly.</extracomment>
        <translation>El archivo &quot;%1&quot; no se encuentra físicamente en la carpeta actual</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is set as read only.Proceed?</source>
        <translation>El archivo &quot;%1&quot; es de solo lectura. ¿Continuar?</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being encrypted. Both files are kept.</source>
        <translation>El archivo &quot;%1&quot; cambió mientras se cifraba. Se conservan los dos archivos.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being decrypted. Both files are kept.</source>
        <translation>El archivo &quot;%1&quot; cambió mientras se descifraba. Se conservan los dos archivos.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; changed while it was being converted. Both files are kept.</source>
        <translation>El archivo &quot;%1&quot; cambió mientras se convertía. Se conservan los dos archivos.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be encrypted.</source>
        <translation>El archivo &quot;%1&quot; es un enlace simbólico. Solo se puede cifrar el archivo al que apunta.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is a symbolic link. Only the file it points to can be decrypted.</source>
        <translation>El archivo &quot;%1&quot; es un enlace simbólico. Solo se puede descifrar el archivo al que apunta.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the crypted file. File &quot;%2&quot; is not encrypted.</source>
        <translation>La carpeta &quot;%1&quot; ocupa el lugar del archivo cifrado. El archivo &quot;%2&quot; no se cifra.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the crypted file: it is no file. File &quot;%2&quot; is not encrypted.</source>
        <translation>&quot;%1&quot; ocupa el lugar del archivo cifrado y no es un archivo. El archivo &quot;%2&quot; no se cifra.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the decrypted file. File &quot;%2&quot; is not decrypted.</source>
        <translation>La carpeta &quot;%1&quot; ocupa el lugar del archivo descifrado. El archivo &quot;%2&quot; no se descifra.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the decrypted file: it is no file. File &quot;%2&quot; is not decrypted.</source>
        <translation>&quot;%1&quot; ocupa el lugar del archivo descifrado y no es un archivo. El archivo &quot;%2&quot; no se descifra.</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot; is in the way of the age file. File &quot;%2&quot; is not converted.</source>
        <translation>La carpeta &quot;%1&quot; ocupa el lugar del archivo age. El archivo &quot;%2&quot; no se convierte.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is in the way of the age file: it is no file. File &quot;%2&quot; is not converted.</source>
        <translation>&quot;%1&quot; ocupa el lugar del archivo age y no es un archivo. El archivo &quot;%2&quot; no se convierte.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has 1 other name; its content would stay readable through it. It is not encrypted.</source>
        <translation>El archivo &quot;%1&quot; tiene otro nombre; su contenido seguiría siendo legible a través de él. No se cifra.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has %2 other names; its content would stay readable through them. It is not encrypted.</source>
        <translation>El archivo &quot;%1&quot; tiene otros %2 nombres; su contenido seguiría siendo legible a través de ellos. No se cifra.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed, and &quot;%2&quot; has been removed meanwhile. File &quot;%1&quot; is kept as it was.</source>
        <translation>El archivo &quot;%1&quot; apareció mientras se procesaba &quot;%2&quot;, y &quot;%2&quot; se ha eliminado entretanto. El archivo &quot;%1&quot; se conserva tal como estaba.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; appeared while &quot;%2&quot; was processed. Both files are kept.</source>
        <translation>El archivo &quot;%1&quot; apareció mientras se procesaba &quot;%2&quot;. Se conservan los dos archivos.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; has been written, but the disk did not confirm it. File &quot;%2&quot; is kept.</source>
        <translation>El archivo &quot;%1&quot; se ha escrito, pero el disco no lo ha confirmado. Se conserva el archivo &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; failed (%2).</source>
        <extracomment>%2 is the engine&apos;s number for the failure.</extracomment>
        <translation>El procesamiento del archivo &quot;%1&quot; ha fallado (%2).</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exist in the list of crypted files. Overwrite one?</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>El archivo &quot;%1&quot; ya existe en la lista de archivos cifrados. ¿Sobrescribirlo?</translation>
    </message>
    <message>
        <source>Encrypting file %1...</source>
        <translation>Cifrando el archivo %1...</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the filelist of non encrypted files.</source>
        <translation>No se pudo eliminar el archivo %1 de la lista de archivos sin cifrar.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is already exist in the file list for not encrypted files. Overwrite one?</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>El archivo &quot;%1&quot; ya existe en la lista de archivos sin cifrar. ¿Sobrescribirlo?</translation>
    </message>
    <message>
        <source>Decrypting file %1...</source>
        <translation>Descifrando el archivo %1...</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file %1 from the list of crypted files.</source>
        <translation>No se pudo eliminar el archivo %1 de la lista de archivos cifrados.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; already exists. Overwrite one?</source>
        <translation>El archivo &quot;%1&quot; ya existe. ¿Sobrescribirlo?</translation>
    </message>
    <message>
        <source>Converting file %1 to age...</source>
        <translation>Convirtiendo el archivo %1 a archivo age...</translation>
    </message>
    <message>
        <source>The disk did not confirm that the original files are gone (%1). After a power failure they may be there again.</source>
        <extracomment>%1 is the system&apos;s description of the error.</extracomment>
        <translation>El disco no ha confirmado que los archivos originales ya no estén (%1). Tras un corte de corriente podrían volver a aparecer.</translation>
    </message>
</context>
<context>
    <name>FileGridModel</name>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>Attr</source>
        <translation>Atrib.</translation>
    </message>
    <message>
        <source>[no files]</source>
        <translation>[ningún archivo]</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Cannot find the help file &quot;%1&quot;. Reinstall Kelvane 95 to get its help back.</source>
        <translation>No se encuentra el archivo de ayuda &quot;%1&quot;. Reinstale Kelvane 95 para recuperar la ayuda.</translation>
    </message>
    <message>
        <source>Kelvane 95 Help</source>
        <translation>Ayuda de Kelvane 95</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Contenido</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Atrás</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>A&amp;delante</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Página de ayuda</translation>
    </message>
</context>
<context>
    <name>Kelvane</name>
    <message>
        <source>The cipher self-test failed: this build of Kelvane 95 must not be used.</source>
        <translation>La autocomprobación del cifrado ha fallado: esta versión de Kelvane 95 no debe usarse.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Check out all your crypted files that was open now are closed. Close all applications, associated with them.Ensure that all files in the disk that should be protected,have been encrypted. Click cancel if you&apos;re not sure of it.</source>
        <extracomment>The English text keeps its slips; write the translation correctly.</extracomment>
        <translation>Compruebe que todos los archivos cifrados que estaban abiertos están ahora cerrados. Cierre todas las aplicaciones asociadas a ellos. Asegúrese de que todos los archivos del disco que deban protegerse se han cifrado. Pulse Cancelar si no está seguro.</translation>
    </message>
    <message>
        <source>%1 bytes per second</source>
        <translation>%1 bytes por segundo</translation>
    </message>
    <message>
        <source>%1 KBytes</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 Kbytes</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Do you really want to cancel process?</source>
        <translation>¿Seguro que desea cancelar el proceso?</translation>
    </message>
    <message>
        <source>Wait while finishing process the last file...</source>
        <translation>Espere mientras se termina de procesar el último archivo...</translation>
    </message>
    <message>
        <source>Kelvane 95</source>
        <translation>Kelvane 95</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Opciones...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Contenido</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Acerca de...</translation>
    </message>
    <message>
        <source>E&amp;xplore</source>
        <translation>E&amp;xplorar</translation>
    </message>
    <message>
        <source>&amp;Encrypt All</source>
        <translation>&amp;Cifrar todo</translation>
    </message>
    <message>
        <source>&amp;Decrypt All</source>
        <translation>&amp;Descifrar todo</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Abrir</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Cifrar</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Imprimir</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>De&amp;crypt</source>
        <translation>&amp;Descifrar</translation>
    </message>
    <message>
        <source>Con&amp;vert to age…</source>
        <translation>Con&amp;vertir a archivo age…</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Unidad</translation>
    </message>
    <message>
        <source>Available for encryption</source>
        <translation>Disponibles para cifrar</translation>
    </message>
    <message>
        <source>Crypted files</source>
        <translation>Archivos cifrados</translation>
    </message>
    <message>
        <source>Plain file</source>
        <translation>Archivo sin cifrar</translation>
    </message>
    <message>
        <source>Crypted file</source>
        <translation>Archivo cifrado</translation>
    </message>
    <message>
        <source>Cancel process</source>
        <translation>Cancelar el proceso</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Elapsed:</source>
        <translation>Transcurrido:</translation>
    </message>
    <message>
        <source>Estimated:</source>
        <translation>Estimado:</translation>
    </message>
    <message>
        <source>Remaining:</source>
        <translation>Restante:</translation>
    </message>
    <message>
        <source>Done:</source>
        <translation>Hecho:</translation>
    </message>
    <message>
        <source>Throughout:</source>
        <extracomment>The bytes a second of the run; the English word stays, translate it as &quot;throughput&quot;.</extracomment>
        <translation>Velocidad:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Tamaño:</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Todos</translation>
    </message>
</context>
<context>
    <name>MessageSeam</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmar</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Cannot generate crypted file &quot;%1&quot;.%2File name is too long.</source>
        <translation>No se puede crear el archivo cifrado &quot;%1&quot;.%2El nombre del archivo es demasiado largo.</translation>
    </message>
    <message>
        <source>Couldn`t open file &quot;%1&quot;.</source>
        <translation>No se pudo abrir el archivo &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Couldn`t create new file.</source>
        <translation>No se pudo crear el archivo nuevo.</translation>
    </message>
    <message>
        <source>Couldn`t read file &quot;%1&quot;.</source>
        <translation>No se pudo leer el archivo &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Invalid password for the file &quot;%1&quot;!</source>
        <translation>¡Contraseña no válida para el archivo &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>No memory.File &quot;%1&quot; is too big.</source>
        <translation>No hay memoria suficiente. El archivo &quot;%1&quot; es demasiado grande.</translation>
    </message>
    <message>
        <source>Cannot identify a file &quot;%1&quot; as a valid crypted file</source>
        <translation>El archivo &quot;%1&quot; no se reconoce como un archivo cifrado válido</translation>
    </message>
    <message>
        <source>You have aborted processing &quot;%1&quot;.</source>
        <translation>Ha interrumpido el procesamiento de &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Processing file &quot;%1&quot; have been aborted. Disk is full.</source>
        <translation>Se ha interrumpido el procesamiento del archivo &quot;%1&quot;. El disco está lleno.</translation>
    </message>
    <message>
        <source>Couldn`t make the key of the age file for &quot;%1&quot;. Not enough memory? The file is kept.</source>
        <translation>No se pudo generar la clave del archivo age para &quot;%1&quot;. ¿Falta memoria? Se conserva el archivo.</translation>
    </message>
</context>
<context>
    <name>PasswordForm</name>
    <message>
        <source>Note:</source>
        <translation>Nota:</translation>
    </message>
    <message>
        <source>Case of characters is meaningful</source>
        <translation>Se distinguen mayúsculas y minúsculas</translation>
    </message>
    <message>
        <source>&amp;Submit</source>
        <translation>Con&amp;firmar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation>Una contraseña por lista de archivos</translation>
    </message>
    <message>
        <source>These characters can&apos;t be used in a password: %1<byte value="xd"/>Use letters, digits and signs of Western European languages.</source>
        <extracomment>%1 lists the refused characters; the second sentence starts a new line.</extracomment>
        <translation>Estos caracteres no se pueden usar en una contraseña: %1<byte value="xd"/>Use letras, cifras y signos de las lenguas de Europa occidental.</translation>
    </message>
</context>
<context>
    <name>PasswordPolicy</name>
    <message>
        <source>File &quot;%1&quot; is skipped. Stop processing the remaining files too?</source>
        <translation>Se omite el archivo &quot;%1&quot;. ¿Detener también el procesamiento de los archivos restantes?</translation>
    </message>
</context>
<context>
    <name>PasswordPromptDialog</name>
    <message>
        <source>Confirmation</source>
        <translation>Confirmación</translation>
    </message>
    <message>
        <source>You will be prompted to assign a password for any found file.</source>
        <translation>Se le pedirá que asigne una contraseña a cada archivo encontrado.</translation>
    </message>
    <message>
        <source>&amp;Proceed</source>
        <translation>&amp;Proceder</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>C&amp;hange password &quot;expire&quot; option</source>
        <translation>Ca&amp;mbiar la opción «caduca en» de la contraseña</translation>
    </message>
</context>
<context>
    <name>PasswordRules</name>
    <message>
        <source>the password is not valid UTF-8 text; save it as UTF-8</source>
        <translation>la contraseña no es un texto UTF-8 válido; guárdela como UTF-8</translation>
    </message>
    <message>
        <source>the password holds a character outside Windows-1252 (Western European); it must have 6 to 8 such characters</source>
        <translation>la contraseña contiene un carácter fuera de Windows-1252 (Europa occidental); debe tener de 6 a 8 de esos caracteres</translation>
    </message>
    <message>
        <source>the password must not hold a zero character</source>
        <translation>la contraseña no debe contener ningún carácter nulo</translation>
    </message>
    <message>
        <source>the password must have 6 to 8 characters</source>
        <translation>la contraseña debe tener de 6 a 8 caracteres</translation>
    </message>
</context>
<context>
    <name>PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>Preferencias</translation>
    </message>
    <message>
        <source>Show &quot;.cry&quot; extensions for crypted files</source>
        <translation>Mostrar la extensión &quot;.cry&quot; de los archivos cifrados</translation>
    </message>
    <message>
        <source>One password for a session</source>
        <translation>Una contraseña por sesión</translation>
    </message>
    <message>
        <source>One password for a file list</source>
        <translation>Una contraseña por lista de archivos</translation>
    </message>
    <message>
        <source>expires in</source>
        <translation>caduca en</translation>
    </message>
    <message>
        <source>expires in (minutes)</source>
        <translation>caduca en (minutos)</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutos</translation>
    </message>
    <message>
        <source>&amp;Reset value</source>
        <translation>&amp;Restablecer</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
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
        <translation>No se pudo eliminar el archivo &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>File &quot;%1&quot; is marked as read only.Proceed?</source>
        <translation>El archivo &quot;%1&quot; está marcado como de solo lectura. ¿Continuar?</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 could not be read in full, so it is left as it is. Changes to the preferences last until the program ends.</source>
        <translation>El archivo de configuración %1 no se pudo leer entero, así que se deja como está. Los cambios en las preferencias duran hasta que se cierre el programa.</translation>
    </message>
    <message>
        <source>Program haven&apos;t been properly installed.</source>
        <extracomment>The English text keeps its slip; write the translation correctly.</extracomment>
        <translation>El programa no se ha instalado correctamente.</translation>
    </message>
</context>
<context>
    <name>ShellCommands</name>
    <message>
        <source>Couldn&apos;t shell the respective application for the file %1.</source>
        <translation>No se pudo abrir la aplicación asociada al archivo %1.</translation>
    </message>
    <message>
        <source>The file %1 has been left decrypted. Encrypt it again to protect it.</source>
        <translation>El archivo %1 se ha quedado descifrado. Vuelva a cifrarlo para protegerlo.</translation>
    </message>
    <message>
        <source>These files have been left decrypted: %1. Encrypt them again to protect them.</source>
        <translation>Estos archivos se han quedado descifrados: %1. Vuelva a cifrarlos para protegerlos.</translation>
    </message>
    <message>
        <source>The file %1 is gone from its place, so it could not be encrypted again. If its application saved or moved it under another name, its plain text may remain there.</source>
        <translation>El archivo %1 ya no está en su sitio, así que no se pudo volver a cifrar. Si su aplicación lo guardó o lo movió con otro nombre, su contenido sin cifrar puede seguir allí.</translation>
    </message>
    <message>
        <source>lp ended with code %1</source>
        <extracomment>%2 is what the printing program said, or the next text.</extracomment>
        <translation>lp terminó con el código %1</translation>
    </message>
    <message>
        <source>The file %1 could not be printed: %2</source>
        <translation>No se pudo imprimir el archivo %1: %2</translation>
    </message>
    <message>
        <source>1 file is open in its application.</source>
        <translation>1 archivo está abierto en su aplicación.</translation>
    </message>
    <message>
        <source>%1 files are open in their applications.</source>
        <translation>%1 archivos están abiertos en sus aplicaciones.</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <extracomment>%1 is a list of file names, %2 how many more there are.</extracomment>
        <translation>%1 y %2 más</translation>
    </message>
    <message>
        <source>The file %1 is named in the record of files decrypted for an application, but it can&apos;t be shown to be the file this program decrypted there: it has been changed or replaced since, its path leads through a symbolic link, or an earlier version recorded it. It is not encrypted again; if it is yours and should be protected, encrypt it yourself.</source>
        <translation>El archivo %1 figura en el registro de archivos descifrados para una aplicación, pero no se puede demostrar que sea el archivo que este programa descifró allí: se ha modificado o sustituido desde entonces, su ruta pasa por un enlace simbólico o lo registró una versión anterior. No se vuelve a cifrar; si es suyo y debe protegerse, cífrelo usted mismo.</translation>
    </message>
    <message>
        <source>These files are named in the record of files decrypted for an application, but can&apos;t be shown to be the files this program decrypted there (changed or replaced since, reached through a symbolic link, or recorded by an earlier version): %1. They are not encrypted again; if they are yours and should be protected, encrypt them yourself.</source>
        <translation>Estos archivos figuran en el registro de archivos descifrados para una aplicación, pero no se puede demostrar que sean los archivos que este programa descifró allí (modificados o sustituidos desde entonces, alcanzados a través de un enlace simbólico o registrados por una versión anterior): %1. No se vuelven a cifrar; si son suyos y deben protegerse, cífrelos usted mismo.</translation>
    </message>
    <message>
        <source>The record of files decrypted for an application, %1, is not a file this program keeps (a regular file of yours), so it was not read. Files an earlier run left decrypted can&apos;t be offered for encryption.</source>
        <translation>El registro de archivos descifrados para una aplicación, %1, no es un archivo que este programa mantenga (un archivo normal de su propiedad), así que no se ha leído. No se pueden ofrecer para cifrar los archivos que una ejecución anterior dejó descifrados.</translation>
    </message>
    <message>
        <source>The file %1 was decrypted for an application when the program last ended, and is still readable. Encrypt it again now?</source>
        <translation>El archivo %1 estaba descifrado para una aplicación la última vez que se cerró el programa, y sigue siendo legible. ¿Volver a cifrarlo ahora?</translation>
    </message>
    <message>
        <source>These files were: %1; decrypted for an application when the program last ended, and are still readable. Encrypt them again now?</source>
        <translation>Estos archivos estaban descifrados para una aplicación la última vez que se cerró el programa, y siguen siendo legibles: %1. ¿Volver a cifrarlos ahora?</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Idle</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Idle.</source>
        <translation>Listo.</translation>
    </message>
    <message>
        <source>Wait till process is finished.</source>
        <translation>Espere a que termine el proceso.</translation>
    </message>
    <message>
        <source>Processing search for files...</source>
        <translation>Buscando archivos...</translation>
    </message>
</context>
<context>
    <name>TreeCommands</name>
    <message>
        <source>File &quot;%1&quot; has just been made from another file. File &quot;%2&quot; is kept.</source>
        <translation>El archivo &quot;%1&quot; se acaba de crear a partir de otro archivo. Se conserva el archivo &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>This folder is a mount point and was not entered:</source>
        <translation>Esta carpeta es un punto de montaje y no se ha recorrido:</translation>
    </message>
    <message>
        <source>These folders are mount points and were not entered:</source>
        <translation>Estas carpetas son puntos de montaje y no se han recorrido:</translation>
    </message>
    <message>
        <source>Couldn&apos;t read the folder &quot;%1&quot;: %2. No file was encrypted or decrypted.</source>
        <extracomment>%2 is the system&apos;s description of the error.</extracomment>
        <translation>No se pudo leer la carpeta &quot;%1&quot;: %2. No se ha cifrado ni descifrado ningún archivo.</translation>
    </message>
    <message>
        <source>Recurse subdirectoryes?</source>
        <extracomment>&quot;subdirectoryes&quot; stays misspelled in English only; spell the translation correctly.</extracomment>
        <translation>¿Incluir las subcarpetas?</translation>
    </message>
</context>
<context>
    <name>TreeWalk</name>
    <message>
        <source>a symbolic link, not followed</source>
        <translation>un enlace simbólico, no se sigue</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no es un archivo regular</translation>
    </message>
    <message>
        <source>on another file system, not entered</source>
        <translation>en otro sistema de archivos, no se entra</translation>
    </message>
    <message>
        <source>a mount point, not entered</source>
        <translation>un punto de montaje, no se entra</translation>
    </message>
    <message>
        <source>couldn&apos;t read the folder: %1</source>
        <translation>no se pudo leer la carpeta: %1</translation>
    </message>
</context>
</TS>
