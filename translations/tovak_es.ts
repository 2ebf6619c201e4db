<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>main</name>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>Quillora Tovak! ran out of memory and has to close. Your recordings are kept.</source>
        <translation>Quillora Tovak! se quedó sin memoria y debe cerrarse. Sus grabaciones se conservan.</translation>
    </message>
    <message>
        <source>Quillora Tovak! has to close: %s</source>
        <translation>Quillora Tovak! debe cerrarse: %s</translation>
    </message>
</context>
<context>
    <name>tovak::EditorSession</name>
    <message>
        <source>%s kB</source>
        <translation>%s kB</translation>
    </message>
    <message>
        <source>The message could not be saved.</source>
        <translation>No se ha podido guardar el texto.</translation>
    </message>
    <message>
        <source>This will stop the recording.  Do you want to stop?</source>
        <translation>Esto detendrá la grabación. ¿Quiere detenerla?</translation>
    </message>
    <message>
        <source>The following files were not supported or invalid.  They&apos;ve been skipped.<byte value="xd"/>%s</source>
        <translation>Los siguientes archivos no son compatibles o están dañados. Se han omitido.<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Remove &quot;%s&quot; from the talking slideshow?<byte value="xd"/>Its recorded voice and message are deleted with it.</source>
        <translation>¿Quitar «%s» de la presentación con voz?<byte value="xd"/>Su voz grabada y su mensaje se borrarán con ella.</translation>
    </message>
    <message>
        <source>Remove these %s pictures from the talking slideshow?<byte value="xd"/>%sTheir recorded voices and messages are deleted with them.</source>
        <translation>¿Quitar estas %s imágenes de la presentación con voz?<byte value="xd"/>%sSus voces grabadas y sus mensajes se borrarán con ellas.</translation>
    </message>
    <message>
        <source>Remove the sound from selected image(s)?</source>
        <translation>¿Borrar la grabación de las imágenes seleccionadas?</translation>
    </message>
    <message>
        <source>This file already has a sound file attached to it.<byte value="xd"/>Do you want to continue?</source>
        <translation>Esta imagen ya tiene una grabación.<byte value="xd"/>¿Quiere continuar?</translation>
    </message>
    <message>
        <source>The microphone &quot;%s&quot; is not there any more. The system&apos;s default microphone is used instead.</source>
        <translation>El micrófono «%s» ya no está disponible. Se usará el micrófono predeterminado del sistema.</translation>
    </message>
    <message>
        <source>You must select files first!</source>
        <translation>¡Primero tiene que elegir imágenes!</translation>
    </message>
    <message>
        <source>No sound was recorded. Check that your microphone is connected and not muted.</source>
        <translation>No se ha grabado ningún sonido. Compruebe que el micrófono está conectado y no está silenciado.</translation>
    </message>
    <message>
        <source>Keep the recording anyway?</source>
        <translation>¿Conservar la grabación de todos modos?</translation>
    </message>
    <message>
        <source>The recording could not be saved.</source>
        <translation>No se ha podido guardar la grabación.</translation>
    </message>
    <message>
        <source>microphone lost, %s s saved</source>
        <translation>micrófono desconectado, %s s guardados</translation>
    </message>
    <message>
        <source>sound output lost</source>
        <translation>salida de sonido perdida</translation>
    </message>
    <message>
        <source>The slideshow could not be noted down for a restart after a crash (%s).</source>
        <translation>No se ha podido guardar la presentación para recuperarla tras un cierre inesperado (%s).</translation>
    </message>
    <message>
        <source>Lis&amp;ten</source>
        <translation>&amp;Escuchar</translation>
    </message>
    <message>
        <source>Status: %s</source>
        <translation>Estado: %s</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Predeterminado del sistema</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>en espera</translation>
    </message>
    <message>
        <source>recording...</source>
        <translation>grabando...</translation>
    </message>
    <message>
        <source>listening...</source>
        <translation>reproduciendo...</translation>
    </message>
    <message>
        <source>Stop listening before recording.</source>
        <translation>Detenga la reproducción antes de grabar.</translation>
    </message>
    <message>
        <source>The last recording is not saved yet.</source>
        <translation>La última grabación todavía no se ha guardado.</translation>
    </message>
    <message>
        <source>Stop recording before listening.</source>
        <translation>Detenga la grabación antes de escuchar.</translation>
    </message>
    <message>
        <source>A recording is still playing.</source>
        <translation>Todavía se está reproduciendo una grabación.</translation>
    </message>
    <message>
        <source>A playback is still running</source>
        <translation>La reproducción sigue en marcha</translation>
    </message>
    <message>
        <source>Could not open Recording Device</source>
        <translation>No se ha podido abrir el dispositivo de grabación</translation>
    </message>
    <message>
        <source>Could not open the sound output</source>
        <translation>No se ha podido abrir la salida de sonido</translation>
    </message>
    <message>
        <source>Could not prepare header</source>
        <translation>No se ha podido preparar la reproducción</translation>
    </message>
    <message>
        <source>The device number is out of range.</source>
        <translation>Este dispositivo de sonido no existe.</translation>
    </message>
    <message>
        <source>The sound device could not be started.</source>
        <translation>No se ha podido iniciar el dispositivo de sonido.</translation>
    </message>
    <message>
        <source>The sound device is already in use.</source>
        <translation>El dispositivo de sonido ya está en uso.</translation>
    </message>
    <message>
        <source>The sound device is not open.</source>
        <translation>El dispositivo de sonido no está abierto.</translation>
    </message>
    <message>
        <source>There is no sound device.</source>
        <translation>No hay ningún dispositivo de sonido.</translation>
    </message>
    <message>
        <source>There is not enough memory for the sound device.</source>
        <translation>No hay memoria suficiente para el dispositivo de sonido.</translation>
    </message>
    <message>
        <source>The sound device cannot handle this sound format.</source>
        <translation>El dispositivo de sonido no admite este formato de sonido.</translation>
    </message>
    <message>
        <source>Buffers are still queued on the sound device.</source>
        <translation>El dispositivo de sonido todavía está ocupado.</translation>
    </message>
    <message>
        <source>A buffer was not prepared.</source>
        <translation>Un búfer de sonido no estaba preparado.</translation>
    </message>
    <message>
        <source>The sound device stopped with an error.</source>
        <translation>El dispositivo de sonido se ha detenido por un error.</translation>
    </message>
    <message>
        <source>This removes all pictures with their messages and recordings from the slideshow. Are you sure?</source>
        <translation>Se quitarán de la presentación todas las imágenes con sus mensajes y grabaciones. ¿Está seguro?</translation>
    </message>
    <message>
        <source>No recording device was found. Please connect a microphone. If the sound system was started after Quillora Tovak!, close Quillora Tovak! and start it again.</source>
        <translation>No se encontró ningún dispositivo de grabación. Conecte un micrófono. Si el sistema de sonido se inició después de Quillora Tovak!, cierre Quillora Tovak! y vuelva a iniciarlo.</translation>
    </message>
    <message>
        <source>No sound output was found. Please connect speakers or headphones. If the sound system was started after Quillora Tovak!, close Quillora Tovak! and start it again.</source>
        <translation>No se encontró ninguna salida de sonido. Conecte altavoces o auriculares. Si el sistema de sonido se inició después de Quillora Tovak!, cierre Quillora Tovak! y vuelva a iniciarlo.</translation>
    </message>
    <message>
        <source>Stop Lis&amp;tening</source>
        <translation>&amp;Dejar de escuchar</translation>
    </message>
</context>
<context>
    <name>tovak::EndScreen</name>
    <message>
        <source>End of the show</source>
        <translation>Fin de la presentación</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Volver a reproducir</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>tovak::FileListModel</name>
    <message>
        <source>Voice recorded</source>
        <translation>Voz grabada</translation>
    </message>
    <message>
        <source>No voice</source>
        <translation>Sin voz</translation>
    </message>
</context>
<context>
    <name>tovak::MainScreenSession</name>
    <message>
        <source>Discard the slideshow you are working on, with its messages and recordings, and open &quot;%s&quot; instead?</source>
        <translation>¿Descartar la presentación en la que está trabajando, con sus mensajes y grabaciones, y abrir &quot;%s&quot; en su lugar?</translation>
    </message>
    <message>
        <source>&quot;%s&quot; cannot be opened as a talking slideshow.<byte value="xd"/>%s</source>
        <translation>&quot;%s&quot; no se puede abrir como presentación con voz.<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>The slideshow could not be noted down for a restart after a crash (%s).</source>
        <translation>No se ha podido guardar la presentación para recuperarla tras un cierre inesperado (%s).</translation>
    </message>
    <message>
        <source>Restore the slideshow you were working on?</source>
        <translation>¿Recuperar la presentación en la que estaba trabajando?</translation>
    </message>
    <message>
        <source>Quillora Tovak! has successfully created a talking slideshow!</source>
        <translation>¡Quillora Tovak! ha creado su presentación con voz!</translation>
    </message>
    <message>
        <source>It is not saved yet: press Save to keep it.</source>
        <translation>Todavía no está guardada: pulse Guardar para conservarla.</translation>
    </message>
    <message>
        <source>These pictures could not be read and were left out:</source>
        <translation>Estas imágenes no se han podido leer y se han dejado fuera:</translation>
    </message>
    <message>
        <source>These voices are so long that on an older 32-bit Windows PC the slideshow may stop at them for lack of memory:</source>
        <translation>Estas grabaciones son tan largas que en un PC antiguo con Windows de 32 bits la presentación puede detenerse en ellas por falta de memoria:</translation>
    </message>
    <message>
        <source>The following error occured during the creation process:<byte value="xd"/>%s</source>
        <translation>Se ha producido el siguiente error durante la creación:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the process?</source>
        <translation>¿Seguro que quiere cancelar el proceso?</translation>
    </message>
    <message>
        <source>Do you want to save the slideshow before you exit?</source>
        <translation>¿Quiere guardar la presentación antes de salir?</translation>
    </message>
    <message>
        <source>The slideshow you are working on is not saved. Do you want to discard it, with its messages and recordings?

Yes discards it. No keeps it for the next start. Cancel goes back to it.</source>
        <translation>La presentación en la que está trabajando no está guardada. ¿Desea descartarla, con sus mensajes y grabaciones?

Sí la descarta. No la guarda para el próximo inicio. Cancelar vuelve a ella.</translation>
    </message>
</context>
<context>
    <name>tovak::PictureView</name>
    <message>
        <source>Picture preview</source>
        <translation>Vista previa de la imagen</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Sin imagen</translation>
    </message>
    <message>
        <source>Picture shown</source>
        <translation>Imagen mostrada</translation>
    </message>
</context>
<context>
    <name>tovak::PlayerWindow</name>
    <message>
        <source>(paused)</source>
        <translation>(en pausa)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>tovak::ResultActions</name>
    <message>
        <source>It&apos;s recommended to send Tovak! slideshows as &quot;.zip&quot; files.<byte value="xd"/>Some mail servers will automatically remove &quot;.exe&quot; attachments.<byte value="xd"/><byte value="xd"/>Would you like to e-mail your slideshow anyway?</source>
        <translation>Es mejor enviar las presentaciones de Tovak! como archivos «.zip».<byte value="xd"/>Algunos servidores de correo eliminan automáticamente los adjuntos «.exe».<byte value="xd"/><byte value="xd"/>¿Quiere enviar su presentación por correo de todos modos?</translation>
    </message>
    <message>
        <source>File exists (%s) - Do you want to overwrite it?</source>
        <translation>El archivo ya existe (%s). ¿Quiere reemplazarlo?</translation>
    </message>
    <message>
        <source>No e-mail program could be started. Please attach the slideshow to a message yourself; its folder is opened for you:<byte value="xd"/>%s</source>
        <translation>No se ha podido abrir ningún programa de correo. Adjunte usted mismo la presentación a un mensaje; se abrirá su carpeta:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>The slideshow could not be saved as %s:<byte value="xd"/>%s</source>
        <translation>No se ha podido guardar la presentación como %s:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Save Talking Slideshow</source>
        <translation>Guardar la presentación con voz</translation>
    </message>
    <message>
        <source>Talking Slideshows (*.exe)</source>
        <translation>Presentaciones con voz (*.exe)</translation>
    </message>
    <message>
        <source>Zipped Slideshows (*.zip)</source>
        <translation>Presentaciones comprimidas (*.zip)</translation>
    </message>
    <message>
        <source>A slideshow can only be saved as a &quot;.exe&quot;, a &quot;.zip&quot;, a &quot;.html&quot; or a &quot;.mp4&quot; file. Nothing was saved as %s.</source>
        <translation>Una presentación solo puede guardarse como archivo «.exe», «.zip», «.html» o «.mp4». No se ha guardado nada como %s.</translation>
    </message>
    <message>
        <source>Web Slideshows (*.html)</source>
        <translation>Presentaciones web (*.html)</translation>
    </message>
    <message>
        <source>The slideshow is still being created. Please wait until it is finished.</source>
        <translation>La presentación todavía se está creando. Espere a que termine.</translation>
    </message>
    <message>
        <source>The slideshow is not complete, so it cannot be used:<byte value="xd"/>%s</source>
        <translation>La presentación no está completa y no se puede usar:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Slideshows cannot be saved in the working folder %s, because Quillora Tovak! empties it. Please choose another folder.</source>
        <translation>Las presentaciones no se pueden guardar en la carpeta de trabajo %s, porque Quillora Tovak! la vacía. Elija otra carpeta.</translation>
    </message>
    <message>
        <source>No e-mail program could be started. The slideshow is not saved yet and is deleted when Quillora Tovak! closes.<byte value="xd"/><byte value="xd"/>Save it now, so that you can attach it to a message yourself?</source>
        <translation>No se pudo iniciar ningún programa de correo. La presentación aún no está guardada y se borrará al cerrar Quillora Tovak!.<byte value="xd"/><byte value="xd"/>¿Guardarla ahora para adjuntarla usted mismo a un mensaje?</translation>
    </message>
    <message>
        <source>The pictures, messages or voices were changed after this slideshow was created, so it does not show the changes.<byte value="xd"/><byte value="xd"/>Use it anyway? Choose No, then press Edit! to create it again.</source>
        <translation>Las imágenes, los mensajes o las voces se cambiaron después de crear esta presentación, por lo que no muestra los cambios.<byte value="xd"/><byte value="xd"/>¿Usarla de todos modos? Elija No y pulse Editar para crearla de nuevo.</translation>
    </message>
    <message>
        <source>Videos (*.mp4)</source>
        <translation>Vídeos (*.mp4)</translation>
    </message>
    <message>
        <source>Saving the slideshow as a video</source>
        <translation>Guardando la presentación como vídeo</translation>
    </message>
    <message>
        <source>Picture %s of %s</source>
        <translation>Imagen %s de %s</translation>
    </message>
    <message>
        <source>The video was saved as %s, but some pictures or voices could not be read; they are black or silent in it:<byte value="xd"/>%s</source>
        <translation>El vídeo se ha guardado como %s, pero no se han podido leer algunas imágenes o voces; en él aparecen en negro o en silencio:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>My Talking Slideshow.exe</source>
        <translation>Mi presentación con voz.exe</translation>
    </message>
    <message>
        <source>No program on this computer could open %s. Please install a program for &quot;%s&quot; files, or open the file yourself; its folder is opened for you.</source>
        <translation>Ningún programa de este equipo pudo abrir %s. Instale un programa para archivos «%s» o abra el archivo usted mismo; se le abre su carpeta.</translation>
    </message>
    <message>
        <source>No file manager could be started to show the folder %s. Please open it yourself.</source>
        <translation>No se pudo iniciar ningún administrador de archivos para mostrar la carpeta %s. Ábrala usted mismo.</translation>
    </message>
    <message>
        <source>Saved: %s</source>
        <translation>Guardado: %s</translation>
    </message>
</context>
<context>
    <name>tovak::SelectLanguageDialog</name>
    <message>
        <source>Language Selection</source>
        <translation>Selección de idioma</translation>
    </message>
    <message>
        <source>&amp;Choose the language of the program:</source>
        <translation>&amp;Elija el idioma del programa:</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Idiomas</translation>
    </message>
</context>
<context>
    <name>tovak::ShowKeys</name>
    <message>
        <source>Space, Right, Page Down, click</source>
        <translation>Espacio, Derecha, Av Pág, clic</translation>
    </message>
    <message>
        <source>Next picture</source>
        <translation>Imagen siguiente</translation>
    </message>
    <message>
        <source>Left, Backspace, Page Up</source>
        <translation>Izquierda, Retroceso, Re Pág</translation>
    </message>
    <message>
        <source>Previous picture</source>
        <translation>Imagen anterior</translation>
    </message>
    <message>
        <source>Home, End</source>
        <translation>Inicio, Fin</translation>
    </message>
    <message>
        <source>First, last picture</source>
        <translation>Primera, última imagen</translation>
    </message>
    <message>
        <source>Pause, go on</source>
        <translation>Pausa, continuar</translation>
    </message>
    <message>
        <source>Replay the voice</source>
        <translation>Volver a oír la voz</translation>
    </message>
    <message>
        <source>Up, +</source>
        <translation>Arriba, +</translation>
    </message>
    <message>
        <source>Louder</source>
        <translation>Más alto</translation>
    </message>
    <message>
        <source>Down, -</source>
        <translation>Abajo, -</translation>
    </message>
    <message>
        <source>Softer</source>
        <translation>Más bajo</translation>
    </message>
    <message>
        <source>Mute, unmute</source>
        <translation>Silenciar, activar sonido</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Pantalla completa</translation>
    </message>
    <message>
        <source>These keys</source>
        <translation>Estas teclas</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Any key or click closes.</source>
        <translation>Cualquier tecla o clic cierra.</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Teclas</translation>
    </message>
    <message>
        <source>Any key or click closes this list.</source>
        <translation>Cualquier tecla o clic cierra esta lista.</translation>
    </message>
</context>
<context>
    <name>tovak::ShowProblem</name>
    <message>
        <source>This player has no slideshow attached. Build one with Quillora Tovak!</source>
        <translation>Este reproductor no contiene ninguna presentación. Cree una con Quillora Tovak!</translation>
    </message>
    <message>
        <source>This slideshow cannot be played. It may have been damaged on its way: ask for it to be sent again.</source>
        <translation>Esta presentación no se puede reproducir. Puede que se haya dañado por el camino: pida que se la vuelvan a enviar.</translation>
    </message>
</context>
<context>
    <name>tovak::ShowVolume</name>
    <message>
        <source>Muted</source>
        <translation>Silenciado</translation>
    </message>
    <message>
        <source>Volume %1 %</source>
        <translation>Volumen %1 %</translation>
    </message>
</context>
<context>
    <name>tovak::TfmFloatingPreview</name>
    <message>
        <source>Floating Preview</source>
        <translation>Vista previa flotante</translation>
    </message>
</context>
<context>
    <name>tovak::TfmManual</name>
    <message>
        <source>All files</source>
        <translation>Todos los archivos</translation>
    </message>
    <message>
        <source>Press Add to put your pictures into the slideshow.</source>
        <translation>Pulse Añadir para poner sus imágenes en la presentación.</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Duración</translation>
    </message>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>No volume control program was found. Install &quot;pavucontrol&quot; (PulseAudio Volume Control) to adjust the recording and playback volume.</source>
        <translation>No se ha encontrado ningún programa de control de volumen. Instale «pavucontrol» (control de volumen de PulseAudio) para ajustar el volumen de grabación y de reproducción.</translation>
    </message>
    <message>
        <source>Slideshow Settings</source>
        <translation>Preparar la presentación</translation>
    </message>
    <message>
        <source>Pictures in Slideshow</source>
        <translation>Imágenes de la presentación</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>Add new images</source>
        <translation>Añadir imágenes nuevas</translation>
    </message>
    <message>
        <source>Rem&amp;ove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>Remove selected file(s) (DEL)</source>
        <translation>Quitar las imágenes seleccionadas (Supr)</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>&amp;Subir</translation>
    </message>
    <message>
        <source>Move selected file up</source>
        <translation>Subir la imagen seleccionada</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>&amp;Bajar</translation>
    </message>
    <message>
        <source>Move selected file down</source>
        <translation>Bajar la imagen seleccionada</translation>
    </message>
    <message>
        <source>Importing and checking...</source>
        <translation>Importando y comprobando...</translation>
    </message>
    <message>
        <source>Picture&apos;s Preview</source>
        <translation>Vista previa de la imagen</translation>
    </message>
    <message>
        <source>Picture&apos;s Text</source>
        <translation>Texto de la imagen</translation>
    </message>
    <message>
        <source>&amp;Floating Preview</source>
        <translation>Vista &amp;previa flotante</translation>
    </message>
    <message>
        <source>Show floating preview of selected image</source>
        <translation>Mostrar la imagen seleccionada en una ventana aparte</translation>
    </message>
    <message>
        <source>Picture&apos;s Voice</source>
        <translation>Voz de la imagen</translation>
    </message>
    <message>
        <source>Uncompressed:</source>
        <translation>Sin comprimir:</translation>
    </message>
    <message>
        <source>Compressed:</source>
        <translation>Comprimido:</translation>
    </message>
    <message>
        <source>Display the Volume Control Panel</source>
        <translation>Abrir el control de volumen</translation>
    </message>
    <message>
        <source>Recording status</source>
        <translation>Estado de la grabación</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>Micrófono</translation>
    </message>
    <message>
        <source>Microphones</source>
        <translation>Micrófonos</translation>
    </message>
    <message>
        <source>Microphone level</source>
        <translation>Nivel del micrófono</translation>
    </message>
    <message>
        <source>&amp;Microphone:</source>
        <translation>&amp;Micrófono:</translation>
    </message>
    <message>
        <source>&amp;Record!</source>
        <translation>¡&amp;Grabar!</translation>
    </message>
    <message>
        <source>Push this button and speak to your microphone</source>
        <translation>Pulse este botón y hable al micrófono</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Detener la grabación</translation>
    </message>
    <message>
        <source>&amp;Erase</source>
        <translation>Bo&amp;rrar</translation>
    </message>
    <message>
        <source>Remove this recorded file</source>
        <translation>Borrar esta grabación</translation>
    </message>
    <message>
        <source>Listen to the previous recording with this file</source>
        <translation>Escuchar la grabación de esta imagen</translation>
    </message>
    <message>
        <source>Stop playing the recording</source>
        <translation>Detener la reproducción de la grabación</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Limpiar</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>¡&amp;Vamos!</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Start with &quot;Single Screen Mode&quot; ne&amp;xt time</source>
        <translation>Empe&amp;zar en el «modo de una pantalla» la próxima vez</translation>
    </message>
    <message>
        <source>Show this window the next time you start Tovak!</source>
        <translation>Mostrar esta ventana la próxima vez que abra Tovak!</translation>
    </message>
    <message>
        <source>Insert Short Filename into Message</source>
        <translation>Insertar el nombre corto del archivo en el texto</translation>
    </message>
    <message>
        <source>Insert Long Filename into Message</source>
        <translation>Insertar el nombre completo del archivo en el texto</translation>
    </message>
    <message>
        <source>Record Your Message</source>
        <translation>Grabar su mensaje</translation>
    </message>
    <message>
        <source>Listen to Recorded Message</source>
        <translation>Escuchar el mensaje grabado</translation>
    </message>
    <message>
        <source>Erase Recorded Message</source>
        <translation>Borrar el mensaje grabado</translation>
    </message>
    <message>
        <source>Add New File(s)</source>
        <translation>Añadir imágenes</translation>
    </message>
    <message>
        <source>Remove Selected File(s)</source>
        <translation>Quitar las imágenes seleccionadas</translation>
    </message>
    <message>
        <source>Move Selected File(s) Up</source>
        <translation>Subir las imágenes seleccionadas</translation>
    </message>
    <message>
        <source>Move Selected File(s) Down</source>
        <translation>Bajar las imágenes seleccionadas</translation>
    </message>
    <message>
        <source>All Supported Media Formats</source>
        <translation>Todos los formatos de imagen admitidos</translation>
    </message>
    <message>
        <source>Windows Bitmap (BMP)</source>
        <translation>Mapa de bits de Windows (BMP)</translation>
    </message>
    <message>
        <source>Credit Message (CMS)</source>
        <translation>Mensaje de créditos (CMS)</translation>
    </message>
    <message>
        <source>JPEG (JPG)</source>
        <translation>JPEG (JPG)</translation>
    </message>
    <message>
        <source>PC Paintbrush (PCX)</source>
        <translation>PC Paintbrush (PCX)</translation>
    </message>
    <message>
        <source>Portable Graphics (PNG)</source>
        <translation>Gráfico portátil (PNG)</translation>
    </message>
    <message>
        <source>Tagged Image (TIF)</source>
        <translation>Imagen TIFF (TIF)</translation>
    </message>
    <message>
        <source>Kodak Photo CD (PCD)</source>
        <translation>Kodak Photo CD (PCD)</translation>
    </message>
    <message>
        <source>Windows Metafile (WMF)</source>
        <translation>Metarchivo de Windows (WMF)</translation>
    </message>
    <message>
        <source>Enhanced Metafile (EMF)</source>
        <translation>Metarchivo mejorado (EMF)</translation>
    </message>
    <message>
        <source>CompuServe GIF (GIF)</source>
        <translation>CompuServe GIF (GIF)</translation>
    </message>
    <message>
        <source>PCT File</source>
        <translation>Archivo PCT</translation>
    </message>
    <message>
        <source>HEIF Photo (HEIC)</source>
        <translation>Foto HEIF (HEIC)</translation>
    </message>
    <message>
        <source>WebP Picture (WEBP)</source>
        <translation>Imagen WebP (WEBP)</translation>
    </message>
    <message>
        <source>AVIF Picture (AVIF)</source>
        <translation>Imagen AVIF (AVIF)</translation>
    </message>
    <message>
        <source>Pictures in Slidesho&amp;w</source>
        <translation>Imágenes de la prese&amp;ntación</translation>
    </message>
    <message>
        <source>Picture&apos;s Preview a&amp;nd Text</source>
        <translation>Vista previa y te&amp;xto de la imagen</translation>
    </message>
    <message>
        <source>Ad&amp;just Volume Settings</source>
        <translation>A&amp;justar el volumen</translation>
    </message>
</context>
<context>
    <name>tovak::TfmPlimoMainScreen</name>
    <message>
        <source>&amp;Open Slideshow...</source>
        <translation>&amp;Abrir presentación...</translation>
    </message>
    <message>
        <source>Open a talking slideshow to change it</source>
        <translation>Abrir una presentación con voz para cambiarla</translation>
    </message>
    <message>
        <source>Open Slideshow</source>
        <translation>Abrir presentación</translation>
    </message>
    <message>
        <source>Talking Slideshows (*.exe)</source>
        <translation>Presentaciones con voz (*.exe)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>The settings could not be stored (%s). They hold until the program ends.</source>
        <translation>No se pudieron guardar los ajustes (%s). Se mantienen hasta que se cierre el programa.</translation>
    </message>
    <message>
        <source>Your choice of language could not be stored (%s). It holds until the program ends.</source>
        <translation>No se pudo guardar su elección de idioma (%s). Se mantiene hasta que se cierre el programa.</translation>
    </message>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>&amp;Edit!</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>¡&amp;Vamos!</translation>
    </message>
    <message>
        <source>[Untitled Slideshow]</source>
        <translation>[Presentación sin título]</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>It&apos;s a great idea to send slideshows to friends and family in a single-file, self executable format.<byte value="xd"/>
<byte value="xd"/>
Just imagine the look on their faces when they hear your voice...</source>
        <translation>Es una gran idea enviar las presentaciones a amigos y familiares en un solo archivo que se abre por sí mismo.<byte value="xd"/>
<byte value="xd"/>
Imagine sus caras cuando oigan su voz...</translation>
    </message>
    <message>
        <source>Images in talking slideshow</source>
        <translation>Imágenes en la presentación con voz</translation>
    </message>
    <message>
        <source>In Process...</source>
        <translation>Creando...</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
    <message>
        <source>P&amp;review</source>
        <translation>Vista &amp;previa</translation>
    </message>
    <message>
        <source>Preview the talking slideshow</source>
        <translation>Ver la presentación con voz</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>E&amp;nviar</translation>
    </message>
    <message>
        <source>Send the talking slideshow to a friend</source>
        <translation>Enviar la presentación con voz a un amigo</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>A&amp;brir carpeta</translation>
    </message>
    <message>
        <source>Open File Explorer in the slideshow&apos;s folder</source>
        <translation>Abrir la carpeta de la presentación en el explorador de archivos</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Sa&amp;ve</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Save the talking slideshow for later use</source>
        <translation>Guardar la presentación con voz para más adelante</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Ce&amp;rrar</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Ce&amp;rrar</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Cerrar esta ventana</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Banner</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Guardar &amp;como</translation>
    </message>
    <message>
        <source>&amp;Single Screen...</source>
        <translation>&amp;Una pantalla...</translation>
    </message>
    <message>
        <source>&amp;Multi Screen...</source>
        <translation>&amp;Varias pantallas...</translation>
    </message>
    <message>
        <source>&amp;Language Selection...</source>
        <translation>&amp;Idioma...</translation>
    </message>
    <message>
        <source>Show Banner</source>
        <translation>Mostrar el banner</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Configuración...</translation>
    </message>
    <message>
        <source>&amp;Internet</source>
        <translation>&amp;Internet</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Acerca &amp;de</translation>
    </message>
    <message>
        <source>About Tovak! (%s)</source>
        <translation>Acerca de Tovak! (%s)</translation>
    </message>
    <message>
        <source>There is not enough memory to finish this. Please close other programs and try again.</source>
        <translation>No hay memoria suficiente para terminar esto. Cierre otros programas e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>%1 % done</source>
        <translation>%1 % hecho</translation>
    </message>
    <message>
        <source>Quillora Tovak! %s<byte value="xd"/><byte value="xd"/>Turns pictures into a talking slideshow.<byte value="xd"/>Licence: proprietary.<byte value="xd"/><byte value="xd"/>Program folder: %s<byte value="xd"/>Working folder: %s<byte value="xd"/>Settings file: %s</source>
        <translation>Quillora Tovak! %s<byte value="xd"/><byte value="xd"/>Convierte imágenes en una presentación que habla.<byte value="xd"/>Licencia: privativa.<byte value="xd"/><byte value="xd"/>Carpeta del programa: %s<byte value="xd"/>Carpeta de trabajo: %s<byte value="xd"/>Archivo de configuración: %s</translation>
    </message>
    <message>
        <source>About Quillora Tovak!</source>
        <translation>Acerca de Quillora Tovak!</translation>
    </message>
</context>
<context>
    <name>tovak::TfmSettings</name>
    <message>
        <source>Use original sizes</source>
        <translation>Mantener el tamaño original</translation>
    </message>
    <message>
        <source>%1 x %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Customize settings for the slideshow</source>
        <translation>Configuración de la presentación</translation>
    </message>
    <message>
        <source>Here you can customize the slideshow settings.  This will  affect the size and image quality of the slideshows you make.</source>
        <translation>Aquí puede configurar sus presentaciones. Esto cambia el tamaño y la calidad de imagen de las presentaciones que cree.</translation>
    </message>
    <message>
        <source>Compact Mode Settings</source>
        <translation>Configuración del modo compacto</translation>
    </message>
    <message>
        <source>Choose the settings you&apos;d like to use when you create slideshows using the compact mode.</source>
        <translation>Elija la configuración que quiere usar al crear presentaciones en modo compacto.</translation>
    </message>
    <message>
        <source>Full Mode Settings</source>
        <translation>Configuración del modo a tamaño completo</translation>
    </message>
    <message>
        <source>Choose the settings you&apos;d like to use when you create slideshows using the full mode.</source>
        <translation>Elija la configuración que quiere usar al crear presentaciones a tamaño completo.</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Menor</translation>
    </message>
    <message>
        <source>Higher</source>
        <translation>Mayor</translation>
    </message>
    <message>
        <source>&amp;Always use those settings</source>
        <translation>&amp;Usar siempre esta configuración</translation>
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
        <source>Image &amp;Size:</source>
        <translation>Ta&amp;maño de imagen:</translation>
    </message>
    <message>
        <source>Image &amp;Quality:</source>
        <translation>Calidad de &amp;imagen:</translation>
    </message>
    <message>
        <source>Image Si&amp;ze:</source>
        <translation>Tamaño de ima&amp;gen:</translation>
    </message>
    <message>
        <source>Image Qualit&amp;y:</source>
        <translation>Calida&amp;d de imagen:</translation>
    </message>
</context>
<context>
    <name>tovak::TfmSlideshowProps</name>
    <message>
        <source>Choose Creation Mode</source>
        <translation>Elegir el tipo de presentación</translation>
    </message>
    <message>
        <source>You&apos;re Almost Done!</source>
        <translation>¡Ya casi está!</translation>
    </message>
    <message>
        <source>Set the final settings before you create the slideshow.</source>
        <translation>Elija los últimos ajustes antes de crear la presentación.</translation>
    </message>
    <message>
        <source>Choose a Compact or a Full-mode Slideshow</source>
        <translation>¿Presentación compacta o a tamaño completo?</translation>
    </message>
    <message>
        <source>Create a co&amp;mpact-mode slideshow</source>
        <translation>Crear una presentación co&amp;mpacta</translation>
    </message>
    <message>
        <source>This option downscales and compresses pictures to relatively small size.  Suitable for e-mail with dial-up connections.</source>
        <translation>Las imágenes se reducen y se comprimen para que ocupen poco. Ideal para enviar por correo con conexiones lentas.</translation>
    </message>
    <message>
        <source>Create a &amp;full-mode slideshow</source>
        <translation>Crear una presentación a &amp;tamaño completo</translation>
    </message>
    <message>
        <source>Less compression and larger pictures.  Suitable for full screen slideshows and high speed connections.</source>
        <translation>Menos compresión e imágenes más grandes. Ideal para presentaciones a pantalla completa y conexiones rápidas.</translation>
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
        <source>Click here to change the Com&amp;pact Mode properties</source>
        <translation>Haga clic aquí para cambiar la configuración del modo com&amp;pacto</translation>
    </message>
    <message>
        <source>Click here to change the F&amp;ull Mode properties</source>
        <translation>Haga clic aquí para cambiar la configuración del modo a tamaño comp&amp;leto</translation>
    </message>
</context>
<context>
    <name>tovak::WebSlideshow</name>
    <message>
        <source>en</source>
        <comment>the language code of this translation, for web pages</comment>
        <translation>es</translation>
    </message>
    <message>
        <source>Slideshow</source>
        <translation>Presentación</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Enlaces</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Cargando…</translation>
    </message>
    <message>
        <source>Space or → next · ← back · P pause · F full screen · tap or swipe on a touch screen</source>
        <translation>Espacio o → siguiente · ← anterior · P pausa · F pantalla completa · toque o deslice en una pantalla táctil</translation>
    </message>
    <message>
        <source>End of the slideshow</source>
        <translation>Fin de la presentación</translation>
    </message>
    <message>
        <source>The end</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Volver a reproducir</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 imagen</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 imágenes</translation>
    </message>
    <message>
        <source>Picture %1 of %2</source>
        <translation>Imagen %1 de %2</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>en pausa</translation>
    </message>
</context>
<context>
    <name>tovak::WorkingFolder</name>
    <message>
        <source>The working folder &quot;%s&quot; cannot be created (%s).</source>
        <translation>No se puede crear la carpeta de trabajo &quot;%s&quot; (%s).</translation>
    </message>
    <message>
        <source>The working folder &quot;%s&quot; cannot be written (%s).</source>
        <translation>No se puede escribir en la carpeta de trabajo &quot;%s&quot; (%s).</translation>
    </message>
    <message>
        <source>Another copy of the program is using the working folder &quot;%s&quot;.</source>
        <translation>Otra copia del programa está usando la carpeta de trabajo &quot;%s&quot;.</translation>
    </message>
    <message>
        <source>The working folder &quot;%s&quot; cannot be locked (%s).</source>
        <translation>No se puede bloquear la carpeta de trabajo &quot;%s&quot; (%s).</translation>
    </message>
    <message>
        <source>The list of the slideshow you were working on could not be read, so nothing was deleted from its folder. Your recordings and messages are in &quot;%s&quot;; the list was kept as &quot;%s&quot;.</source>
        <translation>No se pudo leer la lista de la presentación en la que estaba trabajando, así que no se borró nada de su carpeta. Sus grabaciones y mensajes están en &quot;%s&quot;; la lista se guardó como &quot;%s&quot;.</translation>
    </message>
</context>
</TS>
