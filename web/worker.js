// The page's engine: the WebAssembly module and the requests the page sends
// it. In a worker (the usual case) requests arrive as messages, so a large
// figure never blocks the page; where no worker can be started the page
// loads the same code and calls polarsketchHandle itself.
'use strict';

const polarsketchModule = createPolarsketch();

// Answers one request: {op, ...arguments} -> a result object.
async function polarsketchHandle(request) {
  const m = await polarsketchModule;
  switch (request.op) {
    case 'tables':
      return m.tables();
    case 'put':
      if (!m.putFile(request.name, request.text)) throw new Error(`cannot keep '${request.name}'`);
      return m.readFile(request.name, request.columns || []);
    case 'remove':
      m.removeFile(request.name);
      return {};
    case 'run': {
      // A command line and the files it writes, taken back as text.
      const started = performance.now();
      const ran = m.run(request.args);
      ran.files = {};
      for (const name of request.outputs || []) ran.files[name] = m.takeFile(name);
      ran.milliseconds = performance.now() - started;
      return ran;
    }
    case 'locate':
      return m.locate(request.args);
    case 'describe':
      return m.describe(request.set, request.index);
    default:
      throw new Error(`unknown request '${request.op}'`);
  }
}

if (typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope) {
  self.onmessage = async (event) => {
    const { id, request } = event.data;
    try {
      self.postMessage({ id, result: await polarsketchHandle(request) });
    } catch (error) {
      self.postMessage({ id, error: String(error && error.message ? error.message : error) });
    }
  };
}
