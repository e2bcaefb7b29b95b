// Which files make a scenario, by their names: the line file
// `<S>_linea.txt` and the train files `<S>_<T>-.txt` of the same folder.
// A train file belongs to the line file with the longest scenario name its
// own name begins with.
const LINE_END = "_linea.txt";
const TRAIN_END = "-.txt";

function isLine(name) {
  return name.toLowerCase().endsWith(LINE_END) && name.length > LINE_END.length;
}

function isTrain(name) {
  return name.toLowerCase().endsWith(TRAIN_END) && !isLine(name);
}

function scenarioName(lineFile) {
  return lineFile.slice(0, lineFile.length - LINE_END.length);
}

function lineOfTrain(train, names) {
  let best;
  for (const n of names) {
    if (!isLine(n)) continue;
    const s = scenarioName(n);
    if (train.startsWith(s + "_") && (!best || s.length > scenarioName(best).length)) best = n;
  }
  return best;
}

// The scenario of `file` among the names of its folder: { line, trains } or { problem }.
function scenarioOf(file, names) {
  const name = file.split(/[\\/]/).pop();
  if (isLine(name)) {
    const trains = names.filter((n) => isTrain(n) && lineOfTrain(n, names) === name).sort();
    if (trains.length === 0) return { problem: `Nessun file del treno «${scenarioName(name)}_<treno>-.txt» accanto a ${name}.` };
    return { line: name, trains };
  }
  if (isTrain(name)) {
    const line = lineOfTrain(name, names);
    if (!line) return { problem: `Nessun file della linea accanto a ${name}: il suo nome è «<scenario>_linea.txt».` };
    return { line, trains: [name] };
  }
  return { problem: `${name} non è né un file della linea (…_linea.txt) né un file del treno (…-.txt).` };
}

module.exports = { scenarioOf };
