<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>main</name>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>Quillora Tovak! ran out of memory and has to close. Your recordings are kept.</source>
        <translation>Quillora Tovak! hat keinen Speicher mehr und muss beendet werden. Ihre Aufnahmen bleiben erhalten.</translation>
    </message>
    <message>
        <source>Quillora Tovak! has to close: %s</source>
        <translation>Quillora Tovak! muss beendet werden: %s</translation>
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
        <translation>Der Text konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>This will stop the recording.  Do you want to stop?</source>
        <translation>Damit wird die Aufnahme beendet. Möchten Sie sie beenden?</translation>
    </message>
    <message>
        <source>The following files were not supported or invalid.  They&apos;ve been skipped.<byte value="xd"/>%s</source>
        <translation>Die folgenden Dateien werden nicht unterstützt oder sind beschädigt. Sie wurden übersprungen.<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Remove &quot;%s&quot; from the talking slideshow?<byte value="xd"/>Its recorded voice and message are deleted with it.</source>
        <translation>„%s“ aus der sprechenden Diashow entfernen?<byte value="xd"/>Die Aufnahme und der Text des Bildes werden mit gelöscht.</translation>
    </message>
    <message>
        <source>Remove these %s pictures from the talking slideshow?<byte value="xd"/>%sTheir recorded voices and messages are deleted with them.</source>
        <translation>Diese %s Bilder aus der sprechenden Diashow entfernen?<byte value="xd"/>%sIhre Aufnahmen und Texte werden mit gelöscht.</translation>
    </message>
    <message>
        <source>Remove the sound from selected image(s)?</source>
        <translation>Die Aufnahme der ausgewählten Bilder löschen?</translation>
    </message>
    <message>
        <source>This file already has a sound file attached to it.<byte value="xd"/>Do you want to continue?</source>
        <translation>Zu diesem Bild gibt es schon eine Aufnahme.<byte value="xd"/>Möchten Sie trotzdem fortfahren?</translation>
    </message>
    <message>
        <source>The microphone &quot;%s&quot; is not there any more. The system&apos;s default microphone is used instead.</source>
        <translation>Das Mikrofon „%s“ ist nicht mehr vorhanden. Stattdessen wird das Standardmikrofon des Systems verwendet.</translation>
    </message>
    <message>
        <source>You must select files first!</source>
        <translation>Bitte wählen Sie zuerst Bilder aus!</translation>
    </message>
    <message>
        <source>No sound was recorded. Check that your microphone is connected and not muted.</source>
        <translation>Es wurde kein Ton aufgenommen. Bitte prüfen Sie, ob das Mikrofon angeschlossen und nicht stummgeschaltet ist.</translation>
    </message>
    <message>
        <source>Keep the recording anyway?</source>
        <translation>Die Aufnahme trotzdem behalten?</translation>
    </message>
    <message>
        <source>The recording could not be saved.</source>
        <translation>Die Aufnahme konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>microphone lost, %s s saved</source>
        <translation>Mikrofon getrennt, %s s gespeichert</translation>
    </message>
    <message>
        <source>sound output lost</source>
        <translation>Tonausgabe getrennt</translation>
    </message>
    <message>
        <source>The slideshow could not be noted down for a restart after a crash (%s).</source>
        <translation>Die Diashow konnte nicht für einen Neustart nach einem Absturz vorgemerkt werden (%s).</translation>
    </message>
    <message>
        <source>Lis&amp;ten</source>
        <translation>&amp;Anhören</translation>
    </message>
    <message>
        <source>Status: %s</source>
        <translation>Status: %s</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Standard des Systems</translation>
    </message>
    <message>
        <source>idle</source>
        <translation>bereit</translation>
    </message>
    <message>
        <source>recording...</source>
        <translation>Aufnahme läuft...</translation>
    </message>
    <message>
        <source>listening...</source>
        <translation>Wiedergabe läuft...</translation>
    </message>
    <message>
        <source>Stop listening before recording.</source>
        <translation>Beenden Sie zuerst die Wiedergabe, bevor Sie aufnehmen.</translation>
    </message>
    <message>
        <source>The last recording is not saved yet.</source>
        <translation>Die letzte Aufnahme ist noch nicht gespeichert.</translation>
    </message>
    <message>
        <source>Stop recording before listening.</source>
        <translation>Beenden Sie zuerst die Aufnahme, bevor Sie sie anhören.</translation>
    </message>
    <message>
        <source>A recording is still playing.</source>
        <translation>Es wird noch eine Aufnahme abgespielt.</translation>
    </message>
    <message>
        <source>A playback is still running</source>
        <translation>Die Wiedergabe läuft noch</translation>
    </message>
    <message>
        <source>Could not open Recording Device</source>
        <translation>Das Aufnahmegerät konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Could not open the sound output</source>
        <translation>Die Tonausgabe konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Could not prepare header</source>
        <translation>Die Wiedergabe konnte nicht vorbereitet werden</translation>
    </message>
    <message>
        <source>The device number is out of range.</source>
        <translation>Dieses Audiogerät gibt es nicht.</translation>
    </message>
    <message>
        <source>The sound device could not be started.</source>
        <translation>Das Audiogerät konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The sound device is already in use.</source>
        <translation>Das Audiogerät wird bereits verwendet.</translation>
    </message>
    <message>
        <source>The sound device is not open.</source>
        <translation>Das Audiogerät ist nicht geöffnet.</translation>
    </message>
    <message>
        <source>There is no sound device.</source>
        <translation>Es ist kein Audiogerät vorhanden.</translation>
    </message>
    <message>
        <source>There is not enough memory for the sound device.</source>
        <translation>Für das Audiogerät ist nicht genug Speicher frei.</translation>
    </message>
    <message>
        <source>The sound device cannot handle this sound format.</source>
        <translation>Das Audiogerät kann dieses Tonformat nicht verarbeiten.</translation>
    </message>
    <message>
        <source>Buffers are still queued on the sound device.</source>
        <translation>Das Audiogerät ist noch mit der Wiedergabe beschäftigt.</translation>
    </message>
    <message>
        <source>A buffer was not prepared.</source>
        <translation>Ein Tonpuffer war nicht vorbereitet.</translation>
    </message>
    <message>
        <source>The sound device stopped with an error.</source>
        <translation>Das Audiogerät wurde mit einem Fehler angehalten.</translation>
    </message>
    <message>
        <source>This removes all pictures with their messages and recordings from the slideshow. Are you sure?</source>
        <translation>Damit werden alle Bilder mit ihren Nachrichten und Aufnahmen aus der Diashow entfernt. Sind Sie sicher?</translation>
    </message>
    <message>
        <source>No recording device was found. Please connect a microphone. If the sound system was started after Quillora Tovak!, close Quillora Tovak! and start it again.</source>
        <translation>Es wurde kein Aufnahmegerät gefunden. Bitte schließen Sie ein Mikrofon an. Wenn das Soundsystem erst nach Quillora Tovak! gestartet wurde, schließen Sie Quillora Tovak! und starten Sie es erneut.</translation>
    </message>
    <message>
        <source>No sound output was found. Please connect speakers or headphones. If the sound system was started after Quillora Tovak!, close Quillora Tovak! and start it again.</source>
        <translation>Es wurde keine Tonausgabe gefunden. Bitte schließen Sie Lautsprecher oder Kopfhörer an. Wenn das Soundsystem erst nach Quillora Tovak! gestartet wurde, schließen Sie Quillora Tovak! und starten Sie es erneut.</translation>
    </message>
    <message>
        <source>Stop Lis&amp;tening</source>
        <translation>Anhören &amp;beenden</translation>
    </message>
</context>
<context>
    <name>tovak::EndScreen</name>
    <message>
        <source>End of the show</source>
        <translation>Ende der Vorführung</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Noch einmal abspielen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>tovak::FileListModel</name>
    <message>
        <source>Voice recorded</source>
        <translation>Stimme aufgenommen</translation>
    </message>
    <message>
        <source>No voice</source>
        <translation>Keine Stimme</translation>
    </message>
</context>
<context>
    <name>tovak::MainScreenSession</name>
    <message>
        <source>Discard the slideshow you are working on, with its messages and recordings, and open &quot;%s&quot; instead?</source>
        <translation>Die Diashow, an der Sie arbeiten, mit ihren Texten und Aufnahmen verwerfen und stattdessen &quot;%s&quot; öffnen?</translation>
    </message>
    <message>
        <source>&quot;%s&quot; cannot be opened as a talking slideshow.<byte value="xd"/>%s</source>
        <translation>&quot;%s&quot; kann nicht als sprechende Diashow geöffnet werden.<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>The slideshow could not be noted down for a restart after a crash (%s).</source>
        <translation>Die Diashow konnte nicht für einen Neustart nach einem Absturz festgehalten werden (%s).</translation>
    </message>
    <message>
        <source>Restore the slideshow you were working on?</source>
        <translation>Die Diashow wiederherstellen, an der Sie zuletzt gearbeitet haben?</translation>
    </message>
    <message>
        <source>Quillora Tovak! has successfully created a talking slideshow!</source>
        <translation>Quillora Tovak! hat Ihre sprechende Diashow erstellt!</translation>
    </message>
    <message>
        <source>It is not saved yet: press Save to keep it.</source>
        <translation>Sie ist noch nicht gespeichert: Klicken Sie auf Speichern, um sie zu behalten.</translation>
    </message>
    <message>
        <source>These pictures could not be read and were left out:</source>
        <translation>Diese Bilder konnten nicht gelesen werden und wurden weggelassen:</translation>
    </message>
    <message>
        <source>These voices are so long that on an older 32-bit Windows PC the slideshow may stop at them for lack of memory:</source>
        <translation>Diese Aufnahmen sind so lang, dass die Diashow auf einem älteren 32-Bit-Windows-PC bei ihnen aus Speichermangel stehen bleiben kann:</translation>
    </message>
    <message>
        <source>The following error occured during the creation process:<byte value="xd"/>%s</source>
        <translation>Beim Erstellen ist folgender Fehler aufgetreten:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel the process?</source>
        <translation>Möchten Sie den Vorgang wirklich abbrechen?</translation>
    </message>
    <message>
        <source>Do you want to save the slideshow before you exit?</source>
        <translation>Möchten Sie die Diashow vor dem Beenden speichern?</translation>
    </message>
    <message>
        <source>The slideshow you are working on is not saved. Do you want to discard it, with its messages and recordings?

Yes discards it. No keeps it for the next start. Cancel goes back to it.</source>
        <translation>Die Diashow, an der Sie arbeiten, ist nicht gespeichert. Möchten Sie sie mit ihren Texten und Aufnahmen verwerfen?

Ja verwirft sie. Nein bewahrt sie für den nächsten Start auf. Abbrechen kehrt zu ihr zurück.</translation>
    </message>
</context>
<context>
    <name>tovak::PictureView</name>
    <message>
        <source>Picture preview</source>
        <translation>Bildvorschau</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>Picture shown</source>
        <translation>Bild wird angezeigt</translation>
    </message>
</context>
<context>
    <name>tovak::PlayerWindow</name>
    <message>
        <source>(paused)</source>
        <translation>(angehalten)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>tovak::ResultActions</name>
    <message>
        <source>It&apos;s recommended to send Tovak! slideshows as &quot;.zip&quot; files.<byte value="xd"/>Some mail servers will automatically remove &quot;.exe&quot; attachments.<byte value="xd"/><byte value="xd"/>Would you like to e-mail your slideshow anyway?</source>
        <translation>Tovak!-Diashows verschicken Sie am besten als „.zip“-Datei.<byte value="xd"/>Manche E-Mail-Server entfernen „.exe“-Anhänge automatisch.<byte value="xd"/><byte value="xd"/>Möchten Sie Ihre Diashow trotzdem so per E-Mail senden?</translation>
    </message>
    <message>
        <source>File exists (%s) - Do you want to overwrite it?</source>
        <translation>Die Datei gibt es schon (%s). Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>No e-mail program could be started. Please attach the slideshow to a message yourself; its folder is opened for you:<byte value="xd"/>%s</source>
        <translation>Es konnte kein E-Mail-Programm gestartet werden. Bitte hängen Sie die Diashow selbst an eine E-Mail an; ihr Ordner wird für Sie geöffnet:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>The slideshow could not be saved as %s:<byte value="xd"/>%s</source>
        <translation>Die Diashow konnte nicht als %s gespeichert werden:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Save Talking Slideshow</source>
        <translation>Sprechende Diashow speichern</translation>
    </message>
    <message>
        <source>Talking Slideshows (*.exe)</source>
        <translation>Sprechende Diashows (*.exe)</translation>
    </message>
    <message>
        <source>Zipped Slideshows (*.zip)</source>
        <translation>Gezippte Diashows (*.zip)</translation>
    </message>
    <message>
        <source>A slideshow can only be saved as a &quot;.exe&quot;, a &quot;.zip&quot;, a &quot;.html&quot; or a &quot;.mp4&quot; file. Nothing was saved as %s.</source>
        <translation>Eine Diashow kann nur als „.exe“-, „.zip“-, „.html“- oder „.mp4“-Datei gespeichert werden. Unter %s wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>Web Slideshows (*.html)</source>
        <translation>Web-Diashows (*.html)</translation>
    </message>
    <message>
        <source>The slideshow is still being created. Please wait until it is finished.</source>
        <translation>Die Diashow wird noch erstellt. Bitte warten Sie, bis sie fertig ist.</translation>
    </message>
    <message>
        <source>The slideshow is not complete, so it cannot be used:<byte value="xd"/>%s</source>
        <translation>Die Diashow ist nicht vollständig und kann nicht verwendet werden:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>Slideshows cannot be saved in the working folder %s, because Quillora Tovak! empties it. Please choose another folder.</source>
        <translation>Diashows können nicht im Arbeitsordner %s gespeichert werden, da Quillora Tovak! ihn leert. Bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>No e-mail program could be started. The slideshow is not saved yet and is deleted when Quillora Tovak! closes.<byte value="xd"/><byte value="xd"/>Save it now, so that you can attach it to a message yourself?</source>
        <translation>Es konnte kein E-Mail-Programm gestartet werden. Die Diashow ist noch nicht gespeichert und wird gelöscht, wenn Quillora Tovak! beendet wird.<byte value="xd"/><byte value="xd"/>Jetzt speichern, damit Sie sie selbst an eine Nachricht anhängen können?</translation>
    </message>
    <message>
        <source>The pictures, messages or voices were changed after this slideshow was created, so it does not show the changes.<byte value="xd"/><byte value="xd"/>Use it anyway? Choose No, then press Edit! to create it again.</source>
        <translation>Die Bilder, Nachrichten oder Stimmen wurden geändert, nachdem diese Diashow erstellt wurde; sie zeigt die Änderungen daher nicht.<byte value="xd"/><byte value="xd"/>Trotzdem verwenden? Wählen Sie Nein und klicken Sie auf Bearbeiten, um sie neu zu erstellen.</translation>
    </message>
    <message>
        <source>Videos (*.mp4)</source>
        <translation>Videos (*.mp4)</translation>
    </message>
    <message>
        <source>Saving the slideshow as a video</source>
        <translation>Die Diashow wird als Video gespeichert</translation>
    </message>
    <message>
        <source>Picture %s of %s</source>
        <translation>Bild %s von %s</translation>
    </message>
    <message>
        <source>The video was saved as %s, but some pictures or voices could not be read; they are black or silent in it:<byte value="xd"/>%s</source>
        <translation>Das Video wurde als %s gespeichert, doch einige Bilder oder Stimmen konnten nicht gelesen werden; sie sind darin schwarz oder stumm:<byte value="xd"/>%s</translation>
    </message>
    <message>
        <source>My Talking Slideshow.exe</source>
        <translation>Meine sprechende Diashow.exe</translation>
    </message>
    <message>
        <source>No program on this computer could open %s. Please install a program for &quot;%s&quot; files, or open the file yourself; its folder is opened for you.</source>
        <translation>Kein Programm auf diesem Computer konnte %s öffnen. Bitte installieren Sie ein Programm für „%s“-Dateien oder öffnen Sie die Datei selbst; ihr Ordner wird für Sie geöffnet.</translation>
    </message>
    <message>
        <source>No file manager could be started to show the folder %s. Please open it yourself.</source>
        <translation>Es konnte kein Dateimanager gestartet werden, um den Ordner %s zu zeigen. Bitte öffnen Sie ihn selbst.</translation>
    </message>
    <message>
        <source>Saved: %s</source>
        <translation>Gespeichert: %s</translation>
    </message>
</context>
<context>
    <name>tovak::SelectLanguageDialog</name>
    <message>
        <source>Language Selection</source>
        <translation>Sprache wählen</translation>
    </message>
    <message>
        <source>&amp;Choose the language of the program:</source>
        <translation>&amp;Wählen Sie die Sprache des Programms:</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Sprachen</translation>
    </message>
</context>
<context>
    <name>tovak::ShowKeys</name>
    <message>
        <source>Space, Right, Page Down, click</source>
        <translation>Leertaste, Rechts, Bild ab, Klick</translation>
    </message>
    <message>
        <source>Next picture</source>
        <translation>Nächstes Bild</translation>
    </message>
    <message>
        <source>Left, Backspace, Page Up</source>
        <translation>Links, Rücktaste, Bild auf</translation>
    </message>
    <message>
        <source>Previous picture</source>
        <translation>Vorheriges Bild</translation>
    </message>
    <message>
        <source>Home, End</source>
        <translation>Pos1, Ende</translation>
    </message>
    <message>
        <source>First, last picture</source>
        <translation>Erstes, letztes Bild</translation>
    </message>
    <message>
        <source>Pause, go on</source>
        <translation>Anhalten, weiter</translation>
    </message>
    <message>
        <source>Replay the voice</source>
        <translation>Stimme noch einmal hören</translation>
    </message>
    <message>
        <source>Up, +</source>
        <translation>Hoch, +</translation>
    </message>
    <message>
        <source>Louder</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Down, -</source>
        <translation>Runter, -</translation>
    </message>
    <message>
        <source>Softer</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Mute, unmute</source>
        <translation>Ton aus, Ton an</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>These keys</source>
        <translation>Diese Tasten</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Any key or click closes.</source>
        <translation>Eine beliebige Taste oder ein Klick schließt.</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
    <message>
        <source>Any key or click closes this list.</source>
        <translation>Eine beliebige Taste oder ein Klick schließt diese Liste.</translation>
    </message>
</context>
<context>
    <name>tovak::ShowProblem</name>
    <message>
        <source>This player has no slideshow attached. Build one with Quillora Tovak!</source>
        <translation>Dieser Player enthält keine Diashow. Erstellen Sie eine mit Quillora Tovak!</translation>
    </message>
    <message>
        <source>This slideshow cannot be played. It may have been damaged on its way: ask for it to be sent again.</source>
        <translation>Diese Diashow kann nicht abgespielt werden. Vielleicht wurde sie unterwegs beschädigt: Bitten Sie darum, sie Ihnen noch einmal zu schicken.</translation>
    </message>
</context>
<context>
    <name>tovak::ShowVolume</name>
    <message>
        <source>Muted</source>
        <translation>Stumm</translation>
    </message>
    <message>
        <source>Volume %1 %</source>
        <translation>Lautstärke %1 %</translation>
    </message>
</context>
<context>
    <name>tovak::TfmFloatingPreview</name>
    <message>
        <source>Floating Preview</source>
        <translation>Vorschaufenster</translation>
    </message>
</context>
<context>
    <name>tovak::TfmManual</name>
    <message>
        <source>All files</source>
        <translation>Alle Dateien</translation>
    </message>
    <message>
        <source>Press Add to put your pictures into the slideshow.</source>
        <translation>Klicken Sie auf Hinzufügen, um Ihre Bilder in die Diashow zu holen.</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>No volume control program was found. Install &quot;pavucontrol&quot; (PulseAudio Volume Control) to adjust the recording and playback volume.</source>
        <translation>Es wurde kein Programm zur Lautstärkeregelung gefunden. Installieren Sie „pavucontrol“ (PulseAudio-Lautstärkeregler), um die Aufnahme- und Wiedergabelautstärke einzustellen.</translation>
    </message>
    <message>
        <source>Slideshow Settings</source>
        <translation>Diashow einrichten</translation>
    </message>
    <message>
        <source>Pictures in Slideshow</source>
        <translation>Bilder der Diashow</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Add new images</source>
        <translation>Neue Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Rem&amp;ove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Remove selected file(s) (DEL)</source>
        <translation>Ausgewählte Bilder entfernen (Entf)</translation>
    </message>
    <message>
        <source>Move &amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>Move selected file up</source>
        <translation>Ausgewähltes Bild nach oben schieben</translation>
    </message>
    <message>
        <source>Move &amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Move selected file down</source>
        <translation>Ausgewähltes Bild nach unten schieben</translation>
    </message>
    <message>
        <source>Importing and checking...</source>
        <translation>Bilder werden geladen und geprüft...</translation>
    </message>
    <message>
        <source>Picture&apos;s Preview</source>
        <translation>Vorschau des Bildes</translation>
    </message>
    <message>
        <source>Picture&apos;s Text</source>
        <translation>Text zum Bild</translation>
    </message>
    <message>
        <source>&amp;Floating Preview</source>
        <translation>&amp;Vorschaufenster</translation>
    </message>
    <message>
        <source>Show floating preview of selected image</source>
        <translation>Das ausgewählte Bild in einem eigenen Fenster zeigen</translation>
    </message>
    <message>
        <source>Picture&apos;s Voice</source>
        <translation>Stimme zum Bild</translation>
    </message>
    <message>
        <source>Uncompressed:</source>
        <translation>Unkomprimiert:</translation>
    </message>
    <message>
        <source>Compressed:</source>
        <translation>Komprimiert:</translation>
    </message>
    <message>
        <source>Display the Volume Control Panel</source>
        <translation>Die Lautstärkeregelung öffnen</translation>
    </message>
    <message>
        <source>Recording status</source>
        <translation>Aufnahmestatus</translation>
    </message>
    <message>
        <source>Microphone</source>
        <translation>Mikrofon</translation>
    </message>
    <message>
        <source>Microphones</source>
        <translation>Mikrofone</translation>
    </message>
    <message>
        <source>Microphone level</source>
        <translation>Mikrofonpegel</translation>
    </message>
    <message>
        <source>&amp;Microphone:</source>
        <translation>&amp;Mikrofon:</translation>
    </message>
    <message>
        <source>&amp;Record!</source>
        <translation>Au&amp;fnehmen!</translation>
    </message>
    <message>
        <source>Push this button and speak to your microphone</source>
        <translation>Klicken Sie hier und sprechen Sie ins Mikrofon</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Aufnahme beenden</translation>
    </message>
    <message>
        <source>&amp;Erase</source>
        <translation>Lö&amp;schen</translation>
    </message>
    <message>
        <source>Remove this recorded file</source>
        <translation>Diese Aufnahme löschen</translation>
    </message>
    <message>
        <source>Listen to the previous recording with this file</source>
        <translation>Die Aufnahme zu diesem Bild anhören</translation>
    </message>
    <message>
        <source>Stop playing the recording</source>
        <translation>Die Wiedergabe der Aufnahme anhalten</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>Lee&amp;ren</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>&amp;Los!</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>Start with &quot;Single Screen Mode&quot; ne&amp;xt time</source>
        <translation>Nächstes Mal im „Einzelfenster-Modus“ &amp;beginnen</translation>
    </message>
    <message>
        <source>Show this window the next time you start Tovak!</source>
        <translation>Dieses Fenster beim nächsten Start von Tovak! zeigen</translation>
    </message>
    <message>
        <source>Insert Short Filename into Message</source>
        <translation>Kurzen Dateinamen in den Text einfügen</translation>
    </message>
    <message>
        <source>Insert Long Filename into Message</source>
        <translation>Dateinamen mit Pfad in den Text einfügen</translation>
    </message>
    <message>
        <source>Record Your Message</source>
        <translation>Ihre Nachricht aufnehmen</translation>
    </message>
    <message>
        <source>Listen to Recorded Message</source>
        <translation>Aufgenommene Nachricht anhören</translation>
    </message>
    <message>
        <source>Erase Recorded Message</source>
        <translation>Aufgenommene Nachricht löschen</translation>
    </message>
    <message>
        <source>Add New File(s)</source>
        <translation>Neue Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Remove Selected File(s)</source>
        <translation>Ausgewählte Bilder entfernen</translation>
    </message>
    <message>
        <source>Move Selected File(s) Up</source>
        <translation>Ausgewählte Bilder nach oben</translation>
    </message>
    <message>
        <source>Move Selected File(s) Down</source>
        <translation>Ausgewählte Bilder nach unten</translation>
    </message>
    <message>
        <source>All Supported Media Formats</source>
        <translation>Alle unterstützten Bildformate</translation>
    </message>
    <message>
        <source>Windows Bitmap (BMP)</source>
        <translation>Windows-Bitmap (BMP)</translation>
    </message>
    <message>
        <source>Credit Message (CMS)</source>
        <translation>Abspann-Nachricht (CMS)</translation>
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
        <translation>Portable Grafik (PNG)</translation>
    </message>
    <message>
        <source>Tagged Image (TIF)</source>
        <translation>TIFF-Bild (TIF)</translation>
    </message>
    <message>
        <source>Kodak Photo CD (PCD)</source>
        <translation>Kodak Photo CD (PCD)</translation>
    </message>
    <message>
        <source>Windows Metafile (WMF)</source>
        <translation>Windows-Metadatei (WMF)</translation>
    </message>
    <message>
        <source>Enhanced Metafile (EMF)</source>
        <translation>Erweiterte Metadatei (EMF)</translation>
    </message>
    <message>
        <source>CompuServe GIF (GIF)</source>
        <translation>CompuServe GIF (GIF)</translation>
    </message>
    <message>
        <source>PCT File</source>
        <translation>PCT-Datei</translation>
    </message>
    <message>
        <source>HEIF Photo (HEIC)</source>
        <translation>HEIF-Foto (HEIC)</translation>
    </message>
    <message>
        <source>WebP Picture (WEBP)</source>
        <translation>WebP-Bild (WEBP)</translation>
    </message>
    <message>
        <source>AVIF Picture (AVIF)</source>
        <translation>AVIF-Bild (AVIF)</translation>
    </message>
    <message>
        <source>Pictures in Slidesho&amp;w</source>
        <translation>Bil&amp;der der Diashow</translation>
    </message>
    <message>
        <source>Picture&apos;s Preview a&amp;nd Text</source>
        <translation>Vorschau und Te&amp;xt des Bildes</translation>
    </message>
    <message>
        <source>Ad&amp;just Volume Settings</source>
        <translation>Lautstär&amp;ke einstellen</translation>
    </message>
</context>
<context>
    <name>tovak::TfmPlimoMainScreen</name>
    <message>
        <source>&amp;Open Slideshow...</source>
        <translation>Diashow ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Open a talking slideshow to change it</source>
        <translation>Eine sprechende Diashow öffnen, um sie zu ändern</translation>
    </message>
    <message>
        <source>Open Slideshow</source>
        <translation>Diashow öffnen</translation>
    </message>
    <message>
        <source>Talking Slideshows (*.exe)</source>
        <translation>Sprechende Diashows (*.exe)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The settings could not be stored (%s). They hold until the program ends.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden (%s). Sie gelten, bis das Programm beendet wird.</translation>
    </message>
    <message>
        <source>Your choice of language could not be stored (%s). It holds until the program ends.</source>
        <translation>Ihre Sprachwahl konnte nicht gespeichert werden (%s). Sie gilt, bis das Programm beendet wird.</translation>
    </message>
    <message>
        <source>Quillora Tovak!</source>
        <translation>Quillora Tovak!</translation>
    </message>
    <message>
        <source>&amp;Edit!</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Go!</source>
        <translation>&amp;Los!</translation>
    </message>
    <message>
        <source>[Untitled Slideshow]</source>
        <translation>[Unbenannte Diashow]</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>It&apos;s a great idea to send slideshows to friends and family in a single-file, self executable format.<byte value="xd"/>
<byte value="xd"/>
Just imagine the look on their faces when they hear your voice...</source>
        <translation>Schicken Sie Ihre Diashows doch als einzelne Datei, die sich von selbst abspielt, an Freunde und Familie.<byte value="xd"/>
<byte value="xd"/>
Stellen Sie sich ihre Gesichter vor, wenn sie Ihre Stimme hören...</translation>
    </message>
    <message>
        <source>Images in talking slideshow</source>
        <translation>Bilder in der sprechenden Diashow</translation>
    </message>
    <message>
        <source>In Process...</source>
        <translation>Wird erstellt...</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>P&amp;review</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>Preview the talking slideshow</source>
        <translation>Die sprechende Diashow ansehen</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Senden</translation>
    </message>
    <message>
        <source>Send the talking slideshow to a friend</source>
        <translation>Die sprechende Diashow an Freunde schicken</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Ordner öffnen</translation>
    </message>
    <message>
        <source>Open File Explorer in the slideshow&apos;s folder</source>
        <translation>Den Ordner der Diashow im Dateimanager öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>Sa&amp;ve</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>Save the talking slideshow for later use</source>
        <translation>Die sprechende Diashow für später speichern</translation>
    </message>
    <message>
        <source>C&amp;lose</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Dieses Fenster schließen</translation>
    </message>
    <message>
        <source>Banner</source>
        <translation>Banner</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Save &amp;As</source>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Single Screen...</source>
        <translation>&amp;Einzelfenster...</translation>
    </message>
    <message>
        <source>&amp;Multi Screen...</source>
        <translation>&amp;Mehrfenster...</translation>
    </message>
    <message>
        <source>&amp;Language Selection...</source>
        <translation>Sp&amp;rache wählen...</translation>
    </message>
    <message>
        <source>Show Banner</source>
        <translation>Banner anzeigen</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>&amp;Internet</source>
        <translation>&amp;Internet</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>About Tovak! (%s)</source>
        <translation>Über Tovak! (%s)</translation>
    </message>
    <message>
        <source>There is not enough memory to finish this. Please close other programs and try again.</source>
        <translation>Es ist nicht genug Speicher vorhanden, um dies abzuschließen. Bitte schließen Sie andere Programme und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 % done</source>
        <translation>%1 % erledigt</translation>
    </message>
    <message>
        <source>Quillora Tovak! %s<byte value="xd"/><byte value="xd"/>Turns pictures into a talking slideshow.<byte value="xd"/>Licence: proprietary.<byte value="xd"/><byte value="xd"/>Program folder: %s<byte value="xd"/>Working folder: %s<byte value="xd"/>Settings file: %s</source>
        <translation>Quillora Tovak! %s<byte value="xd"/><byte value="xd"/>Macht aus Bildern eine sprechende Diashow.<byte value="xd"/>Lizenz: proprietär.<byte value="xd"/><byte value="xd"/>Programmordner: %s<byte value="xd"/>Arbeitsordner: %s<byte value="xd"/>Einstellungsdatei: %s</translation>
    </message>
    <message>
        <source>About Quillora Tovak!</source>
        <translation>Über Quillora Tovak!</translation>
    </message>
</context>
<context>
    <name>tovak::TfmSettings</name>
    <message>
        <source>Use original sizes</source>
        <translation>Originalgröße beibehalten</translation>
    </message>
    <message>
        <source>%1 x %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Customize settings for the slideshow</source>
        <translation>Einstellungen für die Diashow</translation>
    </message>
    <message>
        <source>Here you can customize the slideshow settings.  This will  affect the size and image quality of the slideshows you make.</source>
        <translation>Hier können Sie die Diashow einrichten. Das wirkt sich auf die Größe und die Bildqualität Ihrer Diashows aus.</translation>
    </message>
    <message>
        <source>Compact Mode Settings</source>
        <translation>Einstellungen für Kompakt-Diashows</translation>
    </message>
    <message>
        <source>Choose the settings you&apos;d like to use when you create slideshows using the compact mode.</source>
        <translation>Wählen Sie die Einstellungen für Diashows, die Sie kompakt erstellen.</translation>
    </message>
    <message>
        <source>Full Mode Settings</source>
        <translation>Einstellungen für Großformat-Diashows</translation>
    </message>
    <message>
        <source>Choose the settings you&apos;d like to use when you create slideshows using the full mode.</source>
        <translation>Wählen Sie die Einstellungen für Diashows, die Sie im Großformat erstellen.</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Niedriger</translation>
    </message>
    <message>
        <source>Higher</source>
        <translation>Höher</translation>
    </message>
    <message>
        <source>&amp;Always use those settings</source>
        <translation>&amp;Immer diese Einstellungen verwenden</translation>
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
        <source>Image &amp;Size:</source>
        <translation>Bild&amp;größe:</translation>
    </message>
    <message>
        <source>Image &amp;Quality:</source>
        <translation>Bild&amp;qualität:</translation>
    </message>
    <message>
        <source>Image Si&amp;ze:</source>
        <translation>Bildgrö&amp;ße:</translation>
    </message>
    <message>
        <source>Image Qualit&amp;y:</source>
        <translation>Bildqualitä&amp;t:</translation>
    </message>
</context>
<context>
    <name>tovak::TfmSlideshowProps</name>
    <message>
        <source>Choose Creation Mode</source>
        <translation>Art der Diashow wählen</translation>
    </message>
    <message>
        <source>You&apos;re Almost Done!</source>
        <translation>Fast geschafft!</translation>
    </message>
    <message>
        <source>Set the final settings before you create the slideshow.</source>
        <translation>Legen Sie noch die letzten Einstellungen fest, bevor die Diashow erstellt wird.</translation>
    </message>
    <message>
        <source>Choose a Compact or a Full-mode Slideshow</source>
        <translation>Kompakt oder Großformat?</translation>
    </message>
    <message>
        <source>Create a co&amp;mpact-mode slideshow</source>
        <translation>&amp;Kompakte Diashow erstellen</translation>
    </message>
    <message>
        <source>This option downscales and compresses pictures to relatively small size.  Suitable for e-mail with dial-up connections.</source>
        <translation>Die Bilder werden verkleinert und stark komprimiert. Gut geeignet für E-Mails über langsame Internetverbindungen.</translation>
    </message>
    <message>
        <source>Create a &amp;full-mode slideshow</source>
        <translation>Diashow im &amp;Großformat erstellen</translation>
    </message>
    <message>
        <source>Less compression and larger pictures.  Suitable for full screen slideshows and high speed connections.</source>
        <translation>Weniger Kompression und größere Bilder. Gut geeignet für Diashows im Vollbild und schnelle Internetverbindungen.</translation>
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
        <source>Click here to change the Com&amp;pact Mode properties</source>
        <translation>Hier klicken, um die Einstellungen für Kom&amp;pakt-Diashows zu ändern</translation>
    </message>
    <message>
        <source>Click here to change the F&amp;ull Mode properties</source>
        <translation>Hier klicken, um die Einstellungen für Großformat-Dia&amp;shows zu ändern</translation>
    </message>
</context>
<context>
    <name>tovak::WebSlideshow</name>
    <message>
        <source>en</source>
        <comment>the language code of this translation, for web pages</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>Slideshow</source>
        <translation>Diashow</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>Space or → next · ← back · P pause · F full screen · tap or swipe on a touch screen</source>
        <translation>Leertaste oder → weiter · ← zurück · P Pause · F Vollbild · auf dem Touchscreen tippen oder wischen</translation>
    </message>
    <message>
        <source>End of the slideshow</source>
        <translation>Ende der Diashow</translation>
    </message>
    <message>
        <source>The end</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Noch einmal abspielen</translation>
    </message>
    <message>
        <source>1 picture</source>
        <translation>1 Bild</translation>
    </message>
    <message>
        <source>%1 pictures</source>
        <translation>%1 Bilder</translation>
    </message>
    <message>
        <source>Picture %1 of %2</source>
        <translation>Bild %1 von %2</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>angehalten</translation>
    </message>
</context>
<context>
    <name>tovak::WorkingFolder</name>
    <message>
        <source>The working folder &quot;%s&quot; cannot be created (%s).</source>
        <translation>Der Arbeitsordner &quot;%s&quot; kann nicht angelegt werden (%s).</translation>
    </message>
    <message>
        <source>The working folder &quot;%s&quot; cannot be written (%s).</source>
        <translation>In den Arbeitsordner &quot;%s&quot; kann nicht geschrieben werden (%s).</translation>
    </message>
    <message>
        <source>Another copy of the program is using the working folder &quot;%s&quot;.</source>
        <translation>Eine andere Kopie des Programms verwendet den Arbeitsordner &quot;%s&quot;.</translation>
    </message>
    <message>
        <source>The working folder &quot;%s&quot; cannot be locked (%s).</source>
        <translation>Der Arbeitsordner &quot;%s&quot; kann nicht gesperrt werden (%s).</translation>
    </message>
    <message>
        <source>The list of the slideshow you were working on could not be read, so nothing was deleted from its folder. Your recordings and messages are in &quot;%s&quot;; the list was kept as &quot;%s&quot;.</source>
        <translation>Die Liste der Diashow, an der Sie gearbeitet haben, konnte nicht gelesen werden; deshalb wurde nichts aus ihrem Ordner gelöscht. Ihre Aufnahmen und Texte liegen in &quot;%s&quot;; die Liste wurde als &quot;%s&quot; aufbewahrt.</translation>
    </message>
</context>
</TS>
