// The page's side of the browser platform: the DOM elements of lumeno's windows, the queue
// of the user's input and the program's waits.
//
// A listener never calls into the program. It queues what the user did, and wakes the
// program if it waits for input; the program takes the queue from inside its own stack
// (Page.h). Only one wait of the program's stack can be in flight at a time (ASYNCIFY), and
// a call into the program while it waits would corrupt the suspended stack.
mergeInto(LibraryManager.library, {
  $Page__deps: ['$Asyncify'],
  $Page: {
    // Elements by handle; 0 is none.
    elements: [null],
    // Input for the program: [kind, window, control], kinds as in Page.h.
    queue: [],
    // Wakes the program's wait for input, while it waits.
    wake: null,
    // When the program last let the page paint a frame.
    lastFrame: 0,
    // The browser's language's decimal separator; null until asked for, and again once the
    // language changes.
    decimalSeparator: null,
    // Grey levels of a sunken border: outer then inner line, top-left then bottom-right.
    borderShades: [['#a0a0a0', '#696969'], ['#ffffff', '#e3e3e3']],
    highlight: '#0078d7',
    add: function(element) {
      Page.elements.push(element);
      var handle = Page.elements.length - 1;
      element.id = 'lumeno-' + handle;
      element.dataset.handle = handle;
      return handle;
    },
    // Resumes the program's stack; its end (Quit) unwinds it to here and is no error.
    resume: function(wake) {
      try {
        wake();
      } catch (e) {
        if (!(e instanceof ExitStatus))
          throw e;
      }
    },
    post: function(kind, window, control) {
      Page.queue.push([kind, window, control]);
      if (Page.wake) {
        var wake = Page.wake;
        Page.wake = null;
        // After the listener has returned: the program runs from the page's event loop.
        queueMicrotask(function() { Page.resume(wake); });
      }
    },
    // Places an element by device pixels at a device pixel ratio: a layout at the density of
    // the screen, as on the desktop, in CSS pixels. A width below 0 leaves the size alone.
    place: function(element, left, top, width, height, ratio) {
      element.style.left = left / ratio + 'px';
      element.style.top = top / ratio + 'px';
      if (width >= 0) {
        element.style.width = width / ratio + 'px';
        element.style.height = height / ratio + 'px';
      }
    },
    control: function(window, element) {
      Page.elements[window].querySelector('.controls').appendChild(element);
      return Page.add(element);
    },
    // The picture box's 2-pixel border in device pixels: sunken, or with the focus all in
    // the highlight colour.
    drawBorder: function(canvas) {
      var context = canvas.getContext('2d', {alpha: false});
      var w = canvas.width, h = canvas.height;
      var focused = document.activeElement === canvas;
      for (var line = 0; line < 2; ++line) {
        var inset = line, size = 1;
        var lit = focused ? Page.highlight : Page.borderShades[1][line];
        var shaded = focused ? Page.highlight : Page.borderShades[0][line];
        context.fillStyle = shaded;
        context.fillRect(inset, inset, w - 2 * inset, size);
        context.fillRect(inset, inset, size, h - 2 * inset);
        context.fillStyle = lit;
        context.fillRect(inset, h - 1 - inset, w - 2 * inset, size);
        context.fillRect(w - 1 - inset, inset, size, h - 2 * inset);
      }
    },
    text: function(text) {
      var size = lengthBytesUTF8(text) + 1;
      var pointer = _malloc(size);
      stringToUTF8(text, pointer, size);
      return pointer;
    },
    // The program's exports refuse a caller while the program's stack waits; ASYNCIFY's own,
    // which suspend and resume it, stay as they are.
    guardExports: function() {
      Object.keys(Module).forEach(function(name) {
        var exported = Module[name];
        if (!/^_(?!asyncify_)/.test(name) || typeof exported !== 'function')
          return;
        Module[name] = function() {
          // Suspended, the stack is kept in ASYNCIFY's data until it is resumed.
          if (Asyncify.currData || Asyncify.state !== Asyncify.State.Normal)
            throw new Error('lumeno: ' + name + ' called while the program waits');
          return exported.apply(null, arguments);
        };
      });
    },
  },

  lumeno_page_start__deps: ['$Page'],
  lumeno_page_start: function(name) {
    Page.guardExports();
    // A new density (zoom, another screen) lays the windows out again.
    var watch = function() {
      var query = matchMedia('(resolution: ' + devicePixelRatio + 'dppx)');
      query.addEventListener('change', function() {
        Page.post(2, 0, 0);
        watch();
      }, {once: true});
    };
    watch();
    addEventListener('languagechange', function() { Page.decimalSeparator = null; });
    document.documentElement.lang = navigator.language;
    Page.applicationName = UTF8ToString(name);
  },

  lumeno_window_create__deps: ['$Page'],
  lumeno_window_create: function(caption) {
    var form = document.createElement('section');
    form.className = 'form';
    form.setAttribute('aria-label', UTF8ToString(caption));
    // Hidden until shown, but laid out, so that a label can measure its caption.
    form.style.visibility = 'hidden';
    var controls = document.createElement('div');
    controls.className = 'controls';
    var announcer = document.createElement('div');
    announcer.className = 'announcer';
    announcer.setAttribute('role', 'status');
    announcer.setAttribute('aria-live', 'polite');
    form.append(controls, announcer);
    // Tab goes round the window's controls, as in a desktop window, not on to the browser's.
    form.addEventListener('keydown', function(event) {
      if (event.key !== 'Tab' || event.altKey || event.ctrlKey || event.metaKey)
        return;
      var order = [...controls.children].filter(function(e) { return e.tabIndex >= 0 && !e.disabled; });
      var at = order.indexOf(document.activeElement);
      var next = event.shiftKey ? (at <= 0 ? order.length - 1 : -1) : (at === order.length - 1 ? 0 : -1);
      if (next >= 0 && order.length > 0) {
        event.preventDefault();
        order[next].focus();
      }
    });
    document.title = UTF8ToString(caption);
    document.getElementById('lumeno').appendChild(form);
    return Page.add(form);
  },

  lumeno_control_place__deps: ['$Page'],
  lumeno_control_place: function(element, left, top, width, height, ratio) {
    Page.place(Page.elements[element], left, top, width, height, ratio);
  },

  lumeno_window_show: function(window, shown) {
    Page.elements[window].style.visibility = shown ? 'visible' : 'hidden';
  },

  lumeno_window_destroy: function(window) {
    var form = Page.elements[window];
    form.querySelectorAll('[data-handle]').forEach(function(element) {
      Page.elements[element.dataset.handle] = null;
    });
    Page.elements[window] = null;
    form.remove();
  },

  lumeno_window_set_pointer: function(window, busy) {
    Page.elements[window].classList.toggle('busy', !!busy);
  },

  lumeno_window_set_busy: function(window, busy) {
    Page.elements[window].setAttribute('aria-busy', busy ? 'true' : 'false');
  },

  lumeno_window_announce: function(window, text) {
    var region = Page.elements[window].querySelector('.announcer');
    // A new text in the live region, also when the same is said again.
    region.textContent = '';
    var said = UTF8ToString(text);
    requestAnimationFrame(function() { region.textContent = said; });
  },

  lumeno_window_point_size: function(window) {
    return parseFloat(getComputedStyle(Page.elements[window]).fontSize) * 0.75;
  },

  lumeno_window_focused: function(window) {
    var focused = document.activeElement;
    return focused && Page.elements[window].contains(focused) && focused.dataset.handle
      ? +focused.dataset.handle : 0;
  },

  lumeno_window_clear_focus: function(window) {
    var focused = document.activeElement;
    if (focused && Page.elements[window].contains(focused))
      focused.blur();
  },

  lumeno_button_create__deps: ['$Page'],
  lumeno_button_create: function(window, caption, index) {
    var button = document.createElement('button');
    button.type = 'button';
    button.textContent = UTF8ToString(caption);
    button.addEventListener('click', function() { Page.post(1, window, index); });
    // Not a default button: Enter presses nothing, Space presses the focused button.
    button.addEventListener('keydown', function(event) {
      if (event.key === 'Enter')
        event.preventDefault();
    });
    return Page.control(window, button);
  },

  lumeno_control_enable: function(control, enabled) {
    Page.elements[control].disabled = !enabled;
  },

  lumeno_control_focus: function(control) {
    Page.elements[control].focus();
  },

  lumeno_label_create__deps: ['$Page'],
  lumeno_label_create: function(window, caption) {
    var label = document.createElement('label');
    label.textContent = UTF8ToString(caption);
    return Page.control(window, label);
  },

  lumeno_label_names: function(label, control) {
    Page.elements[label].htmlFor = Page.elements[control].id;
  },

  lumeno_label_fits: function(label, points) {
    var element = Page.elements[label];
    var previous = element.style.fontSize;
    element.style.fontSize = points + 'pt';
    var fits = element.scrollWidth <= element.clientWidth && element.scrollHeight <= element.clientHeight;
    element.style.fontSize = previous;
    return fits;
  },

  lumeno_label_set_point_size: function(label, points) {
    Page.elements[label].style.fontSize = points + 'pt';
  },

  lumeno_field_create__deps: ['$Page'],
  lumeno_field_create: function(window) {
    var field = document.createElement('input');
    field.type = 'text';
    field.autocomplete = 'off';
    field.spellcheck = false;
    return Page.control(window, field);
  },

  lumeno_field_text__deps: ['$Page'],
  lumeno_field_text: function(field) {
    return Page.text(Page.elements[field].value);
  },

  lumeno_field_focus_selected: function(field) {
    var element = Page.elements[field];
    element.select();
    element.focus();
  },

  lumeno_canvas_create__deps: ['$Page'],
  lumeno_canvas_create: function(window, name) {
    var canvas = document.createElement('canvas');
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', UTF8ToString(name));
    // No size until the box gives it one, rather than the default 300 x 150.
    canvas.width = 0;
    canvas.height = 0;
    canvas.tabIndex = 0;
    canvas.addEventListener('focus', function() { Page.drawBorder(canvas); });
    canvas.addEventListener('blur', function() { Page.drawBorder(canvas); });
    return Page.control(window, canvas);
  },

  lumeno_canvas_resize: function(box, width, height, ratio) {
    var canvas = Page.elements[box];
    canvas.style.width = width / ratio + 'px';
    canvas.style.height = height / ratio + 'px';
    // Setting a canvas's size clears it, even to the size it has: a run sets the result
    // box's size before every run.
    if (canvas.width === width && canvas.height === height)
      return false;
    canvas.width = width;
    canvas.height = height;
    Page.drawBorder(canvas);
    return true;
  },

  lumeno_canvas_paint: function(box, pixels, columns, rows, top, bottom) {
    if (columns <= 0 || bottom <= top)
      return;
    // The pixels are put from the program's memory as they are: a view, not a copy.
    var image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, columns * rows * 4), columns, rows);
    Page.elements[box].getContext('2d', {alpha: false})
      .putImageData(image, 2, 2, 0, top, columns, bottom - top);
  },

  lumeno_canvas_describe: function(box, text) {
    Page.elements[box].setAttribute('aria-description', UTF8ToString(text));
  },

  lumeno_device_pixel_ratio: function() {
    return devicePixelRatio;
  },

  lumeno_decimal_separator__deps: ['$Page'],
  lumeno_decimal_separator: function() {
    // Made once for the browser's language, not at every run: a number format takes
    // milliseconds to make.
    if (Page.decimalSeparator === null) {
      var parts = new Intl.NumberFormat(navigator.language).formatToParts(0.5);
      var decimal = parts.find(function(part) { return part.type === 'decimal'; });
      Page.decimalSeparator = decimal ? decimal.value : '';
    }
    return Page.text(Page.decimalSeparator);
  },

  lumeno_next_input__deps: ['$Page'],
  lumeno_next_input: function(event) {
    var next = Page.queue.shift();
    if (!next)
      return 0;
    HEAP32[event >> 2] = next[0];
    HEAP32[(event >> 2) + 1] = next[1];
    HEAP32[(event >> 2) + 2] = next[2];
    return 1;
  },

  lumeno_wait_for_input__deps: ['$Page', '$Asyncify'],
  lumeno_wait_for_input: function() {
    Asyncify.handleSleep(function(wake) {
      if (Page.queue.length > 0)
        wake();
      else
        Page.wake = wake;
    });
  },

  lumeno_frame_due__deps: ['$Page'],
  lumeno_frame_due: function() {
    return performance.now() - Page.lastFrame >= 1000 / 60;
  },

  lumeno_next_frame__deps: ['$Page', '$Asyncify'],
  lumeno_next_frame: function() {
    Asyncify.handleSleep(function(wake) {
      var done = function() {
        Page.lastFrame = performance.now();
        Page.resume(wake);
      };
      // A hidden page paints no frames and goes on at once.
      if (document.hidden)
        setTimeout(done, 0);
      else
        requestAnimationFrame(done);
    });
  },

  lumeno_error_box__deps: ['$Page', '$Asyncify'],
  lumeno_error_box: function(title, text) {
    var heading = UTF8ToString(title), lines = UTF8ToString(text).split('\n');
    Asyncify.handleSleep(function(wake) {
      var focused = document.activeElement;
      var box = document.createElement('dialog');
      box.id = 'lumeno-error';
      box.className = 'error';
      box.setAttribute('aria-labelledby', 'lumeno-error-title');
      box.setAttribute('aria-describedby', 'lumeno-error-text');
      var name = document.createElement('h1');
      name.id = 'lumeno-error-title';
      name.textContent = heading;
      var message = document.createElement('p');
      message.id = 'lumeno-error-text';
      lines.forEach(function(line, i) {
        if (i > 0)
          message.appendChild(document.createElement('br'));
        message.appendChild(document.createTextNode(line));
      });
      var ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      box.append(name, message, ok);
      var closed = false;
      var close = function() {
        if (closed)
          return;
        closed = true;
        box.close();
        box.remove();
        // The focus goes back to the control that had it, as from a desktop message box.
        if (focused && focused.isConnected && focused !== document.body)
          focused.focus();
        Page.resume(wake);
      };
      ok.addEventListener('click', close);
      // Its own keys: a click on the backdrop can leave the focus on the dialog itself,
      // where Enter does nothing.
      box.addEventListener('keydown', function(event) {
        if (event.key === 'Enter' || event.key === ' ' || event.key === 'Escape') {
          event.preventDefault();
          close();
        }
      });
      box.addEventListener('cancel', function(event) {
        event.preventDefault();
        close();
      });
      document.body.appendChild(box);
      box.showModal();
      ok.focus();
    });
  },
});
