// The line and train files are Windows-1252, as the simulator reads them.
// VS Code takes the encoding from the language's setting when it reads a
// file, but a file opened while the editor is still starting (a click in the
// Explorer right away) is read before the languages' settings are known, and
// comes up in UTF-8: an accented station name is then shown wrong and saved
// in UTF-8. Such a document is read again from disk in
// the encoding of its language's setting, as long as nothing in it has been
// typed, so nothing is lost.
const LANGUAGES = ["autore-linea", "autore-treno"];
const DEFAULT = "windows1252";

// The encoding to read `doc` again with, or undefined when it is right as it
// is (or cannot be told: an editor too old to say a document's encoding).
function encodingToReadAgain(doc, configured) {
  if (!LANGUAGES.includes(doc.languageId)) return undefined;
  if (doc.uri.scheme !== "file" || doc.isDirty || doc.isClosed) return undefined;
  if (typeof doc.encoding !== "string") return undefined;
  const wanted = configured || DEFAULT;
  return doc.encoding === wanted ? undefined : wanted;
}

// Reads again in the right encoding each scenario file opened now or later.
function keepScenarioEncoding(vscode, context) {
  const documentsRead = new Set(); // read once in the encoding of the setting: the author may change it after
  const mend = async (doc) => {
    const key = doc.uri.toString();
    if (documentsRead.has(key)) return;
    const configured = vscode.workspace.getConfiguration("files", { uri: doc.uri, languageId: doc.languageId }).get("encoding");
    const encoding = encodingToReadAgain(doc, configured);
    if (!encoding) return;
    documentsRead.add(key);
    try {
      await vscode.workspace.openTextDocument(doc.uri, { encoding });
    } catch (_) {
      documentsRead.delete(key); // tried again at its next opening
    }
  };
  context.subscriptions.push(
    vscode.workspace.onDidOpenTextDocument(mend),
    vscode.workspace.onDidCloseTextDocument((doc) => documentsRead.delete(doc.uri.toString()))
  );
  vscode.workspace.textDocuments.forEach(mend);
}

module.exports = { encodingToReadAgain, keepScenarioEncoding };
